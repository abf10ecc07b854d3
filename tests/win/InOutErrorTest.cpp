#include "platform/win/InOutError.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

struct ErrnoCase {
  int err;
  int code;
  const char* message;
};

class ErrnoMapping : public testing::TestWithParam<ErrnoCase> {};

TEST_P(ErrnoMapping, CarriesTheCodeAndTheTextOfTheTable) {
  const ErrnoCase& c = GetParam();
  const EInOutError e = win::InOutErrorFromErrno(c.err);
  EXPECT_EQ(e.ErrorCode(), c.code);
  EXPECT_EQ(e.Message(), c.message);
}

// Errnos whose number is also a code of the table (EINTR 4, EIO 5, ENETDOWN 100,
// ENETUNREACH 101, EISCONN 106) must not borrow that code's text.
INSTANTIATE_TEST_SUITE_P(
    Table, ErrnoMapping,
    testing::Values(ErrnoCase{ENOENT, 3, "Nom de fichier incorrect"}, ErrnoCase{ENOTDIR, 3, "Nom de fichier incorrect"},
                    ErrnoCase{ENAMETOOLONG, 3, "Nom de fichier incorrect"}, ErrnoCase{ELOOP, 3, "Nom de fichier incorrect"},
                    ErrnoCase{EACCES, 5, "Accès au fichier refusé"}, ErrnoCase{EPERM, 5, "Accès au fichier refusé"},
                    ErrnoCase{EMFILE, 4, "Trop de fichiers ouverts"}, ErrnoCase{ENFILE, 4, "Trop de fichiers ouverts"},
                    ErrnoCase{ENOSPC, 101, "Disque plein"}, ErrnoCase{ENOMEDIUM, 21, "Erreur E/S 21"},
                    ErrnoCase{EIO, EIO, "Erreur E/S 5"}, ErrnoCase{EINTR, EINTR, "Erreur E/S 4"},
                    ErrnoCase{ENETDOWN, ENETDOWN, "Erreur E/S 100"}, ErrnoCase{ENETUNREACH, ENETUNREACH, "Erreur E/S 101"},
                    ErrnoCase{EISCONN, EISCONN, "Erreur E/S 106"}, ErrnoCase{EROFS, EROFS, "Erreur E/S 30"}));

struct CodeCase {
  int code;
  const char* message;
};

class CodeMessages : public testing::TestWithParam<CodeCase> {};

TEST_P(CodeMessages, GiveTheirText) { EXPECT_EQ(win::InOutErrorMessage(GetParam().code), GetParam().message); }

INSTANTIATE_TEST_SUITE_P(Table, CodeMessages,
                         testing::Values(CodeCase{2, "Fichier introuvable"}, CodeCase{3, "Nom de fichier incorrect"},
                                         CodeCase{4, "Trop de fichiers ouverts"}, CodeCase{5, "Accès au fichier refusé"},
                                         CodeCase{100, "Lecture au-delà de la fin de fichier"},
                                         CodeCase{101, "Disque plein"}, CodeCase{106, "Saisie numérique incorrecte"},
                                         CodeCase{21, "Erreur E/S 21"}, CodeCase{0, "Erreur E/S 0"},
                                         CodeCase{-7, "Erreur E/S -7"}));

}  // namespace
