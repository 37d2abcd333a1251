#pragma once
// Where downloads come from. By default the libraries and the server list lie in the program's
// web folder (kDefaultWebFolder), and the updaters' list in the update folder
// (kDefaultUpdateFolder): the one place that names them. An optional download-location file
// beside the program redirects them: section "DOWNLOADFROM", key "NewPath" (a web folder, used as
// a prefix exactly as written) and "NewFileName" (the server list's name there). The catalogue
// fetch reads it as "WebLibLocation.ini", the library downloads and the updaters as
// "ServerLocation.ini". Free of window code: the maintenance programs use it as it stands.

#include <QString>

// The web folder the libraries and the server list are fetched from unless a location file
// redirects them.
inline constexpr char16_t kDefaultWebFolder[] = u"http://download.corvelslexorn.example/Documents/";
// The folder on the update host the updaters fetch the update list (the same server list) from
// unless ServerLocation.ini redirects them; the list names its files by full address then.
inline constexpr char16_t kDefaultUpdateFolder[] = u"https://update.corvelslexorn.example/Update/";
// The server list's name in the web folder and in the update folder.
inline constexpr char16_t kServerListName[] = u"_ServerUpdate2.in_";

inline constexpr char16_t kCatalogueLocationFile[] = u"WebLibLocation.ini";
inline constexpr char16_t kServerLocationFile[] = u"ServerLocation.ini";

struct DownloadLocation {
  bool overridden = false;  // "NewPath" is present (a value of exactly "Error" counts as missing)
  QString newPath;          // "NewPath" as written
  QString newFileName;      // "NewFileName", "Error" when missing
};

// Reads the location file of that name in the program folder.
DownloadLocation ReadDownloadLocation(const QString& fileName);

// The address of the server list for the catalogue: NewPath + NewFileName of WebLibLocation.ini,
// else the default web folder + "_ServerUpdate2.in_".
QString CatalogueAddress();

// The web folder the catalogue's items are fetched from: NewPath of ServerLocation.ini, else the
// default web folder.
QString LibraryBaseAddress();
