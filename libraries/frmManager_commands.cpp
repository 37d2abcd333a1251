// The reaction to the learner's choice in the library list: a library shows its folder and Play
// or Search; the command items add a library from a file, open the web catalogue or delete the
// remembered library from the list.
#include "libraries/frmManager.h"

#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "libraries/library_list.h"
#include "libraries/manager_hooks.h"
#include "platform/app/folders.h"
#include "platform/dialogs/dialogs.h"

#include <QFileInfo>

namespace {

const QString kForm = QStringLiteral("frmManager");

QString Text(const QString& key, const QString& fallback) { return GetMessageText(kForm, key, fallback); }

void ReportListWriteFailed(const QWidget& manager) {
  platform::MsgBoxOver(manager, Text(QStringLiteral("Msg_ListWriteFailed"),
                        QStringLiteral("The library list \"%1\" could not be written. It was left as it was."))
                       .arg(TopicListFile()));
}

}  // namespace

void frmManager::Cmb_Library_SelChange() {
  const OwnLanguage language(*this);
  const int index = Cmb_Library.GetIndex();
  const std::optional<ComboItemKind> kind = Cmb_Library.KindOf(index);
  if (!kind || *kind == ComboItemKind::Library) {
    g_ComboItemText = Cmb_Library.GetText();
    rememberedIsLibrary_ = kind.has_value();
    ShowSelectedLibrary();
    return;
  }
  switch (*kind) {
    case ComboItemKind::DeleteCommand: DeleteRememberedLibrary(); break;
    case ComboItemKind::WebCommand: OpenWebCatalogueItem(); break;
    case ComboItemKind::AddCommand: AddLibraryFromFile(); break;
    case ComboItemKind::Library: break;
  }
}

// After the list was refilled for a new entry: selects it (g_CurrentComboIndex, or nothing when
// it is not listed) and remembers it as the item a command chose.
void frmManager::SelectListedSection() {
  Cmb_Library.SetIndex(g_CurrentComboIndex);
  g_ComboItemText = Cmb_Library.GetString(g_CurrentComboIndex);
  rememberedIsLibrary_ = Cmb_Library.KindOf(g_CurrentComboIndex) == ComboItemKind::Library;
  ShowSelectedLibrary();
}

void frmManager::DeleteRememberedLibrary() {
  if (g_ComboItemText.isEmpty() || !rememberedIsLibrary_) return;
  const qsizetype close = g_ComboItemText.startsWith(QLatin1Char('[')) ? g_ComboItemText.indexOf(QLatin1Char(']')) : -1;
  const QString bracketedIndex = close >= 0 ? g_ComboItemText.left(close + 1) : QString();
  const QString section = g_ComboItemText.mid(close + 1);
  g_ComboItemText = section;
  const QString question = Text(QStringLiteral("Msg_DeleteConfirm"), QStringLiteral("Remove %1 from the library list?"))
                               .arg(bracketedIndex + section);
  if (platform::MsgBoxOver(*this, question, platform::MsgBoxButtons::OkCancel) != platform::MsgBoxResult::Ok) return;
  if (!MarkLibraryDeleted(section)) {
    ReportListWriteFailed(*this);
    return;
  }
  // The item is found by its text: the remembered index may belong to an earlier fill.
  const int item = Cmb_Library.FindLibraryItem(section);
  if (item >= 0) {
    Cmb_Library.RemoveItem(item);
    Cmb_Library.ReBuild(item);
  }
  Cmb_Library.SetIndex(0);
  g_ComboItemText = Cmb_Library.GetString(0);
  rememberedIsLibrary_ = Cmb_Library.KindOf(0) == ComboItemKind::Library;
  ShowSelectedLibrary();
}

void frmManager::OpenWebCatalogueItem() {
  g_LibraryAdded = false;
  OpenWebCatalogue();
  if (!g_LibraryAdded) return;
  FillLibraryCombo(g_CategoryFilter);
  SelectListedSection();
}

void frmManager::AddLibraryFromFile() {
  const QString filter = Text(QStringLiteral("Dlg_AddFilter"), QStringLiteral("Library files")) +
                         QStringLiteral(" (*.abc *.ABC *.Abc)");
  const QString path = platform::Dialogs()
                           .chooseOpenFile(Text(QStringLiteral("Dlg_AddTitle"), QStringLiteral("Select Library file")),
                                           platform::ProgramFolder(), filter)
                           .trimmed();
  if (path.isEmpty()) return;
  if (!QFileInfo(path).isFile() || !LibraryNameOfFile(path)) {
    platform::MsgBoxOver(*this, Text(QStringLiteral("Msg_NotALibrary"),
                          QStringLiteral("\"%1\" is not a word library file (.abc); it was not added."))
                         .arg(path));
    return;
  }
  const std::optional<AddedLibrary> added = AddLibraryEntry(path);
  if (!added) {
    ReportListWriteFailed(*this);
    return;
  }
  TxtFileLocation->setPlainText(added->folder);
  g_CurrentSection = added->section;
  // A library outside the chosen category would not be listed: the list then shows all of them.
  if (InCategory(added->section, g_CategoryFilter)) {
    FillLibraryCombo(g_CategoryFilter);
  } else {
    ChooseCategory(QStringLiteral("X"), QStringLiteral("Lbl_List"));
  }
  SelectListedSection();
}
