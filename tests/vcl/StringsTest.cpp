// Lines with objects: sorted insertion ignoring case, bulk assignment, index errors.

#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Strings.h"

namespace {

TEST(Strings, SortedListsInsertAtTheirPlaceIgnoringCase) {
  TStrings s;
  s.SetSorted(true);
  TObject tag;
  EXPECT_EQ(s.Add("vacances.jpg"), 0);
  EXPECT_EQ(s.Add("Arbre.bmp"), 0);
  EXPECT_EQ(s.AddObject("maison.ico", &tag), 1);
  EXPECT_EQ(s.Add("ARBRE.bmp"), 1);  // equal names keep their order of arrival
  EXPECT_EQ(s.Texts(), (std::vector<std::string>{"Arbre.bmp", "ARBRE.bmp", "maison.ico", "vacances.jpg"}));
  EXPECT_EQ(s.Objects(2), &tag);
  EXPECT_EQ(s.IndexOf("MAISON.ICO"), 2);
  EXPECT_EQ(s.IndexOfObject(&tag), 2);
}

TEST(Strings, AssignSortsOnceAndNotifiesOnce) {
  TStrings s;
  s.SetSorted(true);
  int changes = 0;
  s.OnChange = [&] { ++changes; };
  s.Assign({{"c", nullptr}, {"B", nullptr}, {"a", nullptr}, {"b", nullptr}});
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(s.Texts(), (std::vector<std::string>{"a", "B", "b", "c"}));
  s.BeginUpdate();
  s.Add("d");
  s.Delete(0);
  s.EndUpdate();
  EXPECT_EQ(changes, 2);
}

TEST(Strings, OutOfRangeRaisesTheListError) {
  TStrings s;
  s.Add("un");
  try {
    (void)s.Strings(1);
    FAIL();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Indice de liste hors limites (1)");
  }
  EXPECT_THROW(s.Delete(-1), Exception);
}

}  // namespace
