#include "platform/win/SendKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace win {
namespace {

struct NamedKey {
  std::string_view Name;
  int QtKey;
  quint32 VirtualKey;  // the original system's number, kept as the native virtual key
};

constexpr std::array kNamedKeys = {
    NamedKey{"UP", Qt::Key_Up, 38},          NamedKey{"DOWN", Qt::Key_Down, 40},
    NamedKey{"LEFT", Qt::Key_Left, 37},      NamedKey{"RIGHT", Qt::Key_Right, 39},
    NamedKey{"HOME", Qt::Key_Home, 36},      NamedKey{"END", Qt::Key_End, 35},
    NamedKey{"PGUP", Qt::Key_PageUp, 33},    NamedKey{"PGDN", Qt::Key_PageDown, 34},
    NamedKey{"INSERT", Qt::Key_Insert, 45},  NamedKey{"DELETE", Qt::Key_Delete, 46},
    NamedKey{"ENTER", Qt::Key_Return, 13},   NamedKey{"TAB", Qt::Key_Tab, 9},
    NamedKey{"ESC", Qt::Key_Escape, 27},     NamedKey{"BACKSPACE", Qt::Key_Backspace, 8},
};

struct Keystroke {
  int QtKey;
  quint32 VirtualKey;
  QString Text;
};

std::optional<Keystroke> NamedKeystroke(std::string_view name) {
  for (const NamedKey& k : kNamedKeys)
    if (k.Name == name) return Keystroke{k.QtKey, k.VirtualKey, {}};
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    int n = 0;
    for (char c : name.substr(1)) {
      if (c < '0' || c > '9') return std::nullopt;
      n = n * 10 + (c - '0');
    }
    if (n >= 1 && n <= 12) return Keystroke{Qt::Key_F1 + n - 1, quint32(0x70 + n - 1), {}};
    return std::nullopt;
  }
  if (name == "{" || name == "}") return Keystroke{name == "{" ? Qt::Key_BraceLeft : Qt::Key_BraceRight, 0,
                                                   QString::fromLatin1(name.data(), 1)};
  return std::nullopt;
}

Keystroke CharacterKeystroke(char c) {
  const QChar ch = QLatin1Char(c);
  const QChar upper = ch.toUpper();
  return Keystroke{upper.unicode(), quint32(upper.unicode()), QString(ch)};
}

std::optional<std::vector<Keystroke>> Parse(std::string_view keys) {
  std::vector<Keystroke> strokes;
  for (size_t i = 0; i < keys.size();) {
    if (keys[i] != '{') {
      if (static_cast<unsigned char>(keys[i]) < 0x20 || static_cast<unsigned char>(keys[i]) > 0x7E) return std::nullopt;
      strokes.push_back(CharacterKeystroke(keys[i]));
      ++i;
      continue;
    }
    // "{}}" names the closing brace itself.
    const size_t close = keys.find('}', keys.compare(i, 3, "{}}") == 0 ? i + 2 : i + 1);
    if (close == std::string_view::npos) return std::nullopt;
    const auto stroke = NamedKeystroke(keys.substr(i + 1, close - i - 1));
    if (!stroke) return std::nullopt;
    strokes.push_back(*stroke);
    i = close + 1;
  }
  return strokes;
}

void Deliver(QWidget* target, QEvent::Type type, const Keystroke& k, bool wait) {
  if (wait) {
    QKeyEvent event(type, k.QtKey, Qt::NoModifier, 0, k.VirtualKey, 0, k.Text);
    QCoreApplication::sendEvent(target, &event);
  } else {
    QCoreApplication::postEvent(target, new QKeyEvent(type, k.QtKey, Qt::NoModifier, 0, k.VirtualKey, 0, k.Text));
  }
}

}  // namespace

bool SendKeys(std::string_view Keys, bool Wait) {
  const auto strokes = Parse(Keys);
  if (!strokes) return false;
  for (const Keystroke& k : *strokes) {
    // Each event goes to whichever widget holds the focus when it is sent: handling a key
    // may move the focus, as it would for typed keys.
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QPointer<QWidget> target = QApplication::focusWidget();
      if (!target) return false;
      Deliver(target, type, k, Wait);
    }
  }
  return true;
}

}  // namespace win
