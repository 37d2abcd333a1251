#include "libraries/frmWebDownload.h"

#include "core/language_bas.h"
#include "core/vars_bas.h"
#include "libraries/ServerListFile.h"
#include "libraries/frmWebDownloadProgress.h"
#include "libraries/web_catalogue.h"
#include "platform/app/folders.h"
#include "platform/dialogs/dialogs.h"
#include "platform/forms/twips.h"
#include "platform/ini/ini.h"

#include <QDir>
#include <QHeaderView>
#include <QPointer>
#include <QTimer>

namespace {

const QString kForm = QStringLiteral("frmWebDownload");
const QColor kGrey(127, 127, 127);
const QString kChecked = QStringLiteral("1");
const QString kUnchecked = QStringLiteral("0");

// List columns: caption, key of its language text, width in twips (0: the view's default).
struct ListColumn {
  const char16_t* caption;
  const char16_t* key;
  int widthTwips;
};
constexpr ListColumn kListColumns[] = {
    {u"Description", u"ListView1_A", 2500},
    {u"Time", u"ListView1_B", 1800},
    {u"Price", u"ListView1_C", 0},
};
enum Column { kDescriptionColumn = 0, kTimeColumn = 1, kPriceColumn = 2 };
// Marks a row that cannot be checked (priced, or already current), shown grey.
constexpr int kGreyRole = Qt::UserRole;

// Place of the list beside the tree, and its place when the tree is hidden (moved to 120 twips
// from the left edge and widened by 1455 twips).
constexpr QRect kListBesideTree(156, WebDownloadWindow::kTitleHeight + 10, 396, 260);
constexpr int kListLeftAloneTwips = 120;
constexpr int kListWidenTwips = 1455;

QString Text(const QString& key) { return GetUIText(kForm, key); }

}  // namespace

frmWebDownload::frmWebDownload() : WebDownloadWindow(kForm, QSize(560, 410), QStringLiteral("网络词库下载")) {
  constexpr int top = kTitleHeight + 10;
  Tv_Category = add<QTreeWidget>(QStringLiteral("Tv_Category"));
  Tv_Category->setGeometry(8, top, 140, 260);
  Tv_Category->setHeaderHidden(true);
  Tv_Category->setRootIsDecorated(false);
  connect(Tv_Category, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    Tv_Category_NodeClick(Tv_Category->indexOfTopLevelItem(item) + 1);
  });

  ListView1 = add<QTreeWidget>(QStringLiteral("ListView1"));
  ListView1->setGeometry(kListBesideTree);
  ListView1->setRootIsDecorated(false);
  ListView1->setColumnCount(3);
  connect(ListView1, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
    if (m_Filling || column != kDescriptionColumn) return;
    m_CheckClickedItem = item;
    QTimer::singleShot(0, this, [this] { m_CheckClickedItem = nullptr; });
    ListView1_ItemCheck(ListView1->indexOfTopLevelItem(item) + 1, item->checkState(0) == Qt::Checked);
  });
  // A click on a check box is a check, not a row click: the row click handler would replace the
  // button caption that the check just set.
  connect(ListView1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    if (item == m_CheckClickedItem) return;
    ListView1_ItemClick(ListView1->indexOfTopLevelItem(item) + 1);
  });

  Lbl_Status = add<platform::Label>(QStringLiteral("Lbl_Status"));
  Lbl_Status->setCaption(QStringLiteral("状态:"));
  Lbl_Status->setGeometry(8, top + 268, 544, 20);
  TxtFileLocation = add<QLineEdit>(QStringLiteral("TxtFileLocation"));
  TxtFileLocation->setGeometry(8, top + 292, 420, 26);
  Cmd_ChangeDir = add<platform::CommandButton>(QStringLiteral("Cmd_ChangeDir"));
  Cmd_ChangeDir->setCaption(QStringLiteral("改变目录..."));
  Cmd_ChangeDir->setGeometry(436, top + 292, 116, 26);
  Cmd_ChangeDir->onClick = [this] { Cmd_ChangeDir_Click(); };
  Frame2 = add<QFrame>(QStringLiteral("Frame2"));
  Frame2->setFrameShape(QFrame::HLine);
  Frame2->setGeometry(8, top + 324, 544, 4);
  Cmd_Download = add<platform::CommandButton>(QStringLiteral("Cmd_Download"));
  Cmd_Download->setCaption(QStringLiteral("下载"));
  Cmd_Download->setGeometry(436, top + 334, 116, 28);
  Cmd_Download->onClick = [this] { Cmd_Download_Click(); };
}

frmWebDownload::~frmWebDownload() = default;

void frmWebDownload::Form_Load() {
  applyLanguage();
  Cmd_Download->setCaption(Text(QStringLiteral("Cmd_Download")));
  Cmd_Download->setEnabled(false);
  m_Language = InstallerLanguage();
  TxtFileLocation->setText(ProposedLibraryFolder());

  QStringList headers;
  for (const ListColumn& column : kListColumns) {
    const QString text = Text(QString::fromUtf16(column.key));
    headers << (text.isEmpty() ? QString::fromUtf16(column.caption) : text);
  }
  ListView1->setHeaderLabels(headers);
  for (int i = 0; i < 3; ++i) {
    if (kListColumns[i].widthTwips > 0) ListView1->setColumnWidth(i, platform::TwipsToPixels(kListColumns[i].widthTwips));
  }

  EnsureWebCatalogueTables();
  ClearWebCatalogueMarks();
  filltree();
  // Nodes and rows are not renamed by the learner (the views edit nothing).
  Tv_Category->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_CheckedCount = 0;

  if (g_CategoryFilter != QStringLiteral("X")) {
    Tv_Category->hide();
    ListView1->setGeometry(platform::TwipsToPixels(kListLeftAloneTwips), kListBesideTree.top(),
                           kListBesideTree.width() + platform::TwipsToPixels(kListWidenTwips),
                           kListBesideTree.height());
    const qsizetype letter = QStringView(kCatalogueLetters).indexOf(g_CategoryFilter);
    if (g_CategoryFilter.size() == 1 && letter >= 0) getdetaillist(static_cast<int>(letter) + 1);
  }
}

QString frmWebDownload::catalogueFile() const {
  return platform::ProgramFolder() + QString::fromUtf16(kCatalogueFileName);
}

const platform::ProfileSnapshot& frmWebDownload::catalogue() {
  if (!m_Catalogue) {
    const bool fits = ServerListFitsLimit(catalogueFile());
    if (!fits) {
      Lbl_Status->setCaption(GetMessageText(kForm, QStringLiteral("ListTooLarge"),
                                            QStringLiteral("Status: the library list is larger than 16 MB and was not read.")));
    }
    m_Catalogue = std::make_unique<platform::ProfileSnapshot>(fits ? catalogueFile() : QString());
  }
  return *m_Catalogue;
}

QString frmWebDownload::categoryCaption(int category) const {
  return Text(QStringLiteral("LibCat_") + QChar(kCatalogueLetters[category - 1]));
}

void frmWebDownload::filltree() {
  Tv_Category->clear();
  for (int category = 1; category <= kCatalogueCategoryCount; ++category) {
    filltreedtl(categoryCaption(category), CategoryKey(category), category);
  }
}

void frmWebDownload::filltreedtl(const QString& caption, const QString& key, int category) {
  g_WebCategories[category].key = key;
  const QString count = ReadCategoryCount(catalogue(), key);
  auto* node = new QTreeWidgetItem(Tv_Category);  // owned by the tree
  if (count != QStringLiteral("Error")) {
    node->setText(0, caption + QStringLiteral("(0/") + count + QStringLiteral(")"));
    g_WebCategories[category].itemCount = LeadingNumber(count);
  } else {
    node->setText(0, caption);
    g_WebCategories[category].itemCount = 0;
  }
}

void frmWebDownload::getdetaillist(int category) {
  m_CurrentCategory = category;
  m_Filling = true;
  ListView1->clear();
  const QString section = g_WebCategories[category].key;
  const int items = std::min(g_WebCategories[category].itemCount, kMaxCatalogueItems);
  const QString folder = ResolveDownloadFolder(TxtFileLocation->text());
  int row = 0;
  for (int number = 1; number <= items; ++number) {
    const std::optional<ServerListItem> item = ReadServerListItem(catalogue(), section, number, m_Language);
    if (!item) continue;
    ++row;
    WebLibItem& entry = g_WebLibChecked[category][row];
    entry.fromFileName = item->fromFileName;
    entry.toFileName = item->toFileName;
    entry.description = item->description;
    entry.parts = item->parts;

    auto* listItem = new QTreeWidgetItem(ListView1);  // owned by the list
    listItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    listItem->setText(kDescriptionColumn, item->description);
    listItem->setText(kTimeColumn, item->buildTime);
    bool grey = false;
    if (!folder.isEmpty() && IsAlreadyNew(item->buildTime, folder + item->toFileName)) {
      listItem->setText(kTimeColumn, Text(QStringLiteral("AlreadyNew")));
      entry.checked = kUnchecked;
      grey = true;
    }
    listItem->setText(kPriceColumn, item->price);
    if (!IsFreeItem(*item)) grey = true;
    listItem->setData(kDescriptionColumn, kGreyRole, grey);
    if (grey) {
      for (int column = 0; column < 3; ++column) listItem->setForeground(column, kGrey);
    }
    listItem->setCheckState(0, entry.checked == kChecked ? Qt::Checked : Qt::Unchecked);
  }
  m_Filling = false;
  // The time column is at least wide enough for a whole build time in the learner's font.
  const int designedWidth = ListView1->columnWidth(kTimeColumn);
  ListView1->resizeColumnToContents(kTimeColumn);
  if (ListView1->columnWidth(kTimeColumn) < designedWidth) ListView1->setColumnWidth(kTimeColumn, designedWidth);
  showDownloadCaption();
}

bool frmWebDownload::rowIsGrey(int row) const {
  const QTreeWidgetItem* item = ListView1->topLevelItem(row - 1);
  return item != nullptr && item->data(kDescriptionColumn, kGreyRole).toBool();
}

void frmWebDownload::Tv_Category_NodeClick(int category) {
  if (category >= 1 && category <= kCatalogueCategoryCount) getdetaillist(category);
}

void frmWebDownload::ListView1_ItemCheck(int row, bool checked) {
  if (m_CurrentCategory < 1 || row < 1 || row > kMaxCatalogueItems) return;
  if (checked && rowIsGrey(row)) {
    m_Filling = true;
    ListView1->topLevelItem(row - 1)->setCheckState(0, Qt::Unchecked);
    m_Filling = false;
    return;
  }
  g_WebLibChecked[m_CurrentCategory][row].checked = checked ? kChecked : kUnchecked;
  m_CheckedCount = static_cast<std::int16_t>(m_CheckedCount + (checked ? 1 : -1));
  refreshCategoryNode();
  showDownloadCaption();
}

void frmWebDownload::refreshCategoryNode() {
  int checkedRows = 0;
  const int rows = ListView1->topLevelItemCount();
  for (int i = 0; i < rows; ++i) {
    if (ListView1->topLevelItem(i)->checkState(0) == Qt::Checked) ++checkedRows;
  }
  // The node keeps its whole caption (captions differ in length between the languages).
  if (QTreeWidgetItem* node = Tv_Category->topLevelItem(m_CurrentCategory - 1)) {
    node->setText(0, categoryCaption(m_CurrentCategory) + QStringLiteral("(%1/%2)").arg(checkedRows).arg(rows));
  }
}

void frmWebDownload::showDownloadCaption() {
  const QString caption = Text(QStringLiteral("Cmd_Download"));
  if (m_CheckedCount < 1) {
    Cmd_Download->setCaption(caption);
    Cmd_Download->setEnabled(false);
  } else {
    Cmd_Download->setEnabled(true);
    Cmd_Download->setCaption(caption + QStringLiteral("(%1)").arg(m_CheckedCount));
  }
}

void frmWebDownload::ListView1_ItemClick(int row) {
  if (!Cmd_Download->isEnabled() || row < 1) return;
  if (rowIsGrey(row)) {
    Cmd_Download->setCaption(Text(QStringLiteral("Cmd_Download_Buy")));
    Lbl_Status->setCaption(Text(QStringLiteral("Lbl_Status_Priced")));
  } else {
    Cmd_Download->setCaption(Text(QStringLiteral("Cmd_Download")));
    Lbl_Status->setCaption(Text(QStringLiteral("Lbl_Status_Free")));
  }
}

void frmWebDownload::Cmd_ChangeDir_Click() {
  const QString folder = platform::Dialogs().chooseFolder(Text(QStringLiteral("ChangeDirTitle")), TxtFileLocation->text());
  if (folder.isEmpty()) return;
  TxtFileLocation->setText(folder.endsWith('/') ? folder : folder + '/');
}

void frmWebDownload::Cmd_Download_Click() {
  const auto count = CheckedWebItems().size();
  const QString question = QStringLiteral(" %1").arg(count) + Text(QStringLiteral("Msgbox"));
  if (platform::MsgBoxOver(*this, question, platform::MsgBoxButtons::OkCancel) != platform::MsgBoxResult::Ok) return;
  QPointer<frmWebDownload> self(this);
  frmWebDownloadProgress::instance().showModal();
  if (self) frmWebDownload::unload();
}

void frmWebDownload::Picture2_Click() { frmWebDownload::unload(); }
