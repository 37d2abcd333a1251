// The manager's list: filling it from TopicList.ini by category, showing the chosen library, and
// handing it over to the word bar (Play) or the dictionary look-up (Search).
#include "libraries/frmManager.h"

#include "bar/SkolvaneBar_open.h"
#include "core/language_bas.h"
#include "core/system_utils_bas.h"
#include "core/vars_bas.h"
#include "libraries/library_list.h"
#include "libraries/manager_hooks.h"
#include "platform/app/folders.h"
#include "platform/files/picture_file.h"
#include "platform/dialogs/dialogs.h"


namespace {

const QString kForm = QStringLiteral("frmManager");
// Shown in place of the folder when the chosen entry has none.
const QString kLostFolder = QStringLiteral("<路径信息丢失>");

struct CommandItem {
  const char16_t* prefix;
  const char16_t* textKey;
  ComboItemKind kind;
};
// The command items after the libraries, in list order.
constexpr std::array<CommandItem, 3> kCommandItems = {{
    {u"(O.", u"Combo_Add", ComboItemKind::AddCommand},
    {u"(W.", u"Combo_Web", ComboItemKind::WebCommand},
    {u"(X.", u"Combo_Delete", ComboItemKind::DeleteCommand},
}};

}  // namespace

void frmManager::FillLibraryCombo(const QString& filterLetter) {
  Cmb_Library.Clear();
  Cmb_Library.ClearCounter();
  g_CurrentComboIndex = -1;
  int position = 0;
  int imageIndex = 0;
  const LibraryList list;
  for (const QString& section : list.sections()) {
    if (!InCategory(section, filterLetter) || !list.libraryExists(section)) continue;
    if (section == g_CurrentSection) g_CurrentComboIndex = static_cast<std::int16_t>(position);
    Cmb_Library.Additems(section, position++, imageIndex, ComboItemKind::Library);
  }
  for (const CommandItem& item : kCommandItems) {
    const QString text = QString::fromUtf16(item.prefix) + GetUIText(kForm, QString::fromUtf16(item.textKey));
    Cmb_Library.Additems(text, position++, imageIndex, item.kind);
  }
  Pic_Mix->setPicture(platform::ReadProgramPicture(QStringLiteral("WordLexornFlag.ico")));
}

void frmManager::ChooseCategory(const QString& letter, const QString& captionKey) {
  const OwnLanguage language(*this);
  Lbl_List->setCaption(GetUIText(kForm, captionKey));
  g_CategoryFilter = letter;
  FillLibraryCombo(letter);
}

void frmManager::Pic_Click(int index) {
  const QString letter{QChar(kCategoryLetters[static_cast<std::size_t>(index - 1)])};
  ChooseCategory(letter, QStringLiteral("Lbl_List_") + letter);
}

void frmManager::Pic_Mix_Click() { ChooseCategory(QStringLiteral("X"), QStringLiteral("Lbl_List")); }

void frmManager::ShowSelectedLibrary() {
  const int index = Cmb_Library.GetIndex();
  const std::optional<ComboItemKind> kind = Cmb_Library.KindOf(index);
  if (kind && *kind != ComboItemKind::Library) return;
  const QString section = kind ? Cmb_Library.GetString(index) : QString();
  const QString folder = section.isEmpty() ? QString() : ReadLibraryFolder(section);
  TxtFileLocation->setPlainText(folder.isEmpty() ? kLostFolder : folder);
  dictionaryLibrary_ = !section.isEmpty() && ReadDictionaryFlag(section);
  ShowPlayOrSearch(dictionaryLibrary_);
}

bool frmManager::HandOverSelectedLibrary() {
  const int index = Cmb_Library.GetIndex();
  if (Cmb_Library.KindOf(index) != ComboItemKind::Library) return false;
  const QString text = Cmb_Library.GetText();
  const qsizetype colon = text.indexOf(QLatin1Char(':'));
  if (colon < 0) return false;
  QString name = text.mid(colon + 1);
  if (const qsizetype nul = name.indexOf(QChar(u'\0')); nul >= 0) name.truncate(nul);
  const QString folder = TxtFileLocation->toPlainText();
  const std::optional<QString> path = FindLibraryFile(folder, name);
  if (!path) {
    const OwnLanguage language(*this);
    platform::MsgBoxOver(*this, GetMessageText(kForm, QStringLiteral("Msg_LibraryMissing"),
                                    QStringLiteral("The library file \"%1\" does not exist. It may have been moved or "
                                                   "deleted; add it again from its new place."))
                         .arg(folder + name + QStringLiteral(".abc")));
    return false;
  }
  g_LibraryPath = *path;
  g_LibraryTitle = GetFileNamePart(*path);
  g_LibraryFileName = g_LibraryTitle;
  g_LibraryFolder = folder;
  return true;
}

void frmManager::Picture_Play_Click() {
  if (!HandOverSelectedLibrary()) return;
  // Another bar holding the library has been told about; the manager stays for another choice.
  if (!OpenLibraryBar()) return;
  hide();
}

void frmManager::Picture_Search_Click() {
  if (!HandOverSelectedLibrary()) return;
  if (OpenDictionaryLookup()) hide();
}
