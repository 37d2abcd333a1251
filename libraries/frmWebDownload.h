#pragma once
// The web catalogue window: the server list's twelve language categories as a tree and, for the
// chosen category, its items as a list with check boxes (description, build time, price). Priced
// items and items whose local file is newer than the server's build are grey and cannot be
// checked. The learner checks items, may change the target folder, and presses Download, which
// opens the download run and closes this window when the run is done. The category and check
// tables are program-wide (g_WebCategories, g_WebLibChecked); the marks are cleared at each
// opening, so the confirmation counts exactly the marks the learner sees. The server list is read
// once per opening; a list larger than the limit is refused with a message in the status line.

#include "libraries/WebDownloadWindow.h"
#include "platform/forms/command_button.h"
#include "platform/forms/default_instance.h"

#include <QFrame>
#include <QLineEdit>
#include <QTreeWidget>

#include <cstdint>
#include <memory>

namespace platform {
class ProfileSnapshot;
}

class frmWebDownload : public WebDownloadWindow, public platform::DefaultInstance<frmWebDownload> {
  Q_OBJECT

 public:
  frmWebDownload();
  ~frmWebDownload() override;

  void Form_Load() override;

  QTreeWidget* Tv_Category;
  QTreeWidget* ListView1;  // report view with check boxes: Description, Time, Price
  platform::Label* Lbl_Status;
  QLineEdit* TxtFileLocation;  // the target folder, ending in "/"
  platform::CommandButton* Cmd_ChangeDir;
  platform::CommandButton* Cmd_Download;
  QFrame* Frame2;

  void filltree();
  void filltreedtl(const QString& caption, const QString& key, int category);
  void getdetaillist(int category);

  void Tv_Category_NodeClick(int category);
  void ListView1_ItemCheck(int row, bool checked);
  void ListView1_ItemClick(int row);
  void Cmd_ChangeDir_Click();
  void Cmd_Download_Click();

 protected:
  void Picture2_Click() override;

 private:
  QString catalogueFile() const;
  const platform::ProfileSnapshot& catalogue();
  QString categoryCaption(int category) const;
  void showDownloadCaption();
  void refreshCategoryNode();
  bool rowIsGrey(int row) const;

  std::int16_t m_CheckedCount = 0;  // the learner's checks minus unchecks since the window opened
  QString m_Language;               // the installer's language letter, "Error" when missing
  int m_CurrentCategory = 0;        // the category the list shows (1 to 12)
  bool m_Filling = false;           // the list is being filled: check changes are not the learner's
  QTreeWidgetItem* m_CheckClickedItem = nullptr;  // the row whose check box was just clicked
  // The server list, read once when the window opens (a large list is not read again per click).
  std::unique_ptr<platform::ProfileSnapshot> m_Catalogue;
};
