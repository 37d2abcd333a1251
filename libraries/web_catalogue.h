#pragma once
// The catalogue's program-wide tables (g_WebCategories, g_WebLibChecked) and the proposed
// target folder, shared by the catalogue window and the download run.

#include <QString>

#include <utility>
#include <vector>

// Sizes the tables to their 30 categories and 99 rows (1-based) if they are not yet.
void EnsureWebCatalogueTables();

// Unchecks every item of every category.
void ClearWebCatalogueMarks();

// The checked items as (category, row), categories in order and rows in list order.
std::vector<std::pair<int, int>> CheckedWebItems();

// The folder proposed for downloaded libraries: LIBPATH of the installer's settings followed by
// "Corvel's Lexorn Library/"; without LIBPATH the same folder under the user's data folder
// ($XDG_DATA_HOME, else ~/.local/share). A relative LIBPATH is taken from the home folder. Ends
// in "/".
QString ProposedLibraryFolder();

// A download folder as typed or stored, made absolute before anything is written: backslashes
// become "/", a relative folder is taken from the learner's home folder (never from the current
// folder), and the result ends in "/". Empty for an empty (or blank) text, which is refused.
QString ResolveDownloadFolder(const QString& typed);

// The installer's language letter (LANGUAGE of CORVELSETUP.ini), "Error" when missing.
QString InstallerLanguage();
