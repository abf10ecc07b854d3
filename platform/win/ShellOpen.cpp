#include "platform/win/ShellOpen.h"

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <map>
#include <cstdlib>

namespace win {
namespace {

QStringList XdgDirs(const char* homeVariable, const QString& homeDefault, const char* dirsVariable,
                    const QString& dirsDefault) {
  QStringList result;
  const char* home = std::getenv(homeVariable);
  result << ((home && *home) ? QString::fromLocal8Bit(home) : QDir::homePath() + homeDefault);
  const char* dirs = std::getenv(dirsVariable);
  const QString list = (dirs && *dirs) ? QString::fromLocal8Bit(dirs) : dirsDefault;
  for (const QString& d : list.split(u':', Qt::SkipEmptyParts)) result << d;
  return result;
}

QStringList ApplicationFolders() {
  QStringList folders;
  for (const QString& d : XdgDirs("XDG_DATA_HOME", "/.local/share", "XDG_DATA_DIRS", "/usr/local/share:/usr/share"))
    folders << d + "/applications";
  return folders;
}

// Desktop entries and mimeapps.list are read by hand: QSettings would take the '/' of a MIME
// type for a group separator and mangle ';' lists.
using KeyFile = std::map<QString, std::map<QString, QString>>;

KeyFile ReadKeyFile(const QString& path) {
  KeyFile groups;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return groups;
  QString group;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    if (line.startsWith(u'[') && line.endsWith(u']')) {
      group = line.mid(1, line.size() - 2);
      continue;
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq > 0) groups[group][line.left(eq).trimmed()] = line.mid(eq + 1).trimmed();
  }
  return groups;
}

QString Value(const KeyFile& file, const QString& group, const QString& key) {
  const auto g = file.find(group);
  if (g == file.end()) return {};
  const auto v = g->second.find(key);
  return v == g->second.end() ? QString() : v->second;
}

bool ListsAny(const QString& list, const std::vector<std::string>& wanted) {
  const QStringList listed = list.split(u';', Qt::SkipEmptyParts);
  return std::any_of(wanted.begin(), wanted.end(),
                     [&](const std::string& t) { return listed.contains(QString::fromStdString(t)); });
}

bool DesktopEntryExists(const QString& id, const QStringList& folders) {
  // "vendor-app.desktop" may also lie at "vendor/app.desktop".
  QString nested = id;
  nested.replace(u'-', u'/');
  for (const QString& folder : folders)
    if (QFileInfo::exists(folder + '/' + id) || QFileInfo::exists(folder + '/' + nested)) return true;
  return false;
}

bool DeclaredByAnEntry(const std::vector<std::string>& types, const QStringList& folders) {
  const QString group = QStringLiteral("Desktop Entry");
  for (const QString& folder : folders) {
    QDirIterator it(folder, {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const KeyFile entry = ReadKeyFile(it.next());
      if (Value(entry, group, "Hidden") != QLatin1String("true") && ListsAny(Value(entry, group, "MimeType"), types))
        return true;
    }
  }
  return false;
}

bool NamedByMimeAppsList(const std::vector<std::string>& types, const QStringList& folders) {
  QStringList lists;
  for (const QString& d : XdgDirs("XDG_CONFIG_HOME", "/.config", "XDG_CONFIG_DIRS", "/etc/xdg"))
    lists << d + "/mimeapps.list";
  for (const QString& folder : folders) lists << folder + "/mimeapps.list";
  for (const QString& path : lists) {
    const KeyFile list = ReadKeyFile(path);
    for (const char* group : {"Default Applications", "Added Associations"})
      for (const std::string& t : types)
        for (const QString& id : Value(list, group, QString::fromStdString(t)).split(u';', Qt::SkipEmptyParts))
          if (DesktopEntryExists(id.trimmed(), folders)) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> DocumentTypes(const std::string& FileName) {
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(FileName));
  std::vector<std::string> types{type.name().toStdString()};
  for (const QString& alias : type.aliases()) types.push_back(alias.toStdString());
  return types;
}

bool HasAssociatedApplication(const std::vector<std::string>& MimeTypes) {
  const QStringList folders = ApplicationFolders();
  return NamedByMimeAppsList(MimeTypes, folders) || DeclaredByAnEntry(MimeTypes, folders);
}

bool ShellOpenDocument(const std::string& FileName) {
  if (!HasAssociatedApplication(DocumentTypes(FileName))) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(FileName)));
}

}  // namespace win
