#pragma once
// The library manager: the start screen when the program is started without a library, and the
// window the bar's Exit returns to. It lists the libraries of TopicList.ini with their flags in
// an icon combo, filtered by one of twelve language categories or showing all, shows the folder
// of the chosen library, and opens it in the word bar (Play) or, for a dictionary library, in the
// dictionary look-up (Search). The combo's own items add a library from a file, open the web
// catalogue and delete the chosen library from the list.

#include "libraries/ComboBoxEx.h"
#include "platform/forms/default_instance.h"
#include "platform/forms/label.h"
#include "platform/forms/picture_box.h"
#include "platform/window/drag.h"

#include <QFrame>
#include <QPlainTextEdit>

#include <array>

class frmManager : public platform::Form, public platform::DefaultInstance<frmManager> {
  Q_OBJECT

 public:
  frmManager();
  ~frmManager() override;

  // Handlers.
  void Form_Load() override;
  void Form_Unload() override;
  void Form_MouseMove();
  void Pic_Click(int index);
  void Pic_Mix_Click();
  void Picture_Play_Click();
  void Picture_Play_MouseMove();
  void Picture_Search_Click();
  void Picture_Search_MouseMove();
  void Pic_CloseWindow_Click();
  // The learner chose an item of the library list: a library, or the Add, Web or Delete item.
  void Cmb_Library_SelChange();

  // Fills the list with the existing libraries of the category ("X": all), then the Add, Web and
  // Delete items; the entry named g_CurrentSection sets g_CurrentComboIndex.
  void FillLibraryCombo(const QString& filterLetter);

  // Controls, in creation order.
  platform::PictureBox* Pic_Title;        // title strip: pressing it drags the window
  platform::PictureBox* Pic_CloseWindow;  // close box
  QFrame* Frame2;                         // separating line
  platform::Label* Lbl_List;              // the chosen category's name
  QPlainTextEdit* TxtFileLocation;        // folder of the chosen library
  std::array<platform::PictureBox*, 12> Pic;  // category pictures Pic(1) .. Pic(12), index 0 = Pic(1)
  platform::PictureBox* Pic_Mix;          // all libraries; also shows each flag as the list composes it
  std::array<platform::PictureBox*, 2> Picture_Play;    // 0 normal, 1 hover image beneath it
  std::array<platform::PictureBox*, 2> Picture_Search;  // the same for a dictionary library
  ComboBoxEx Cmb_Library;                 // the library list

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  // Shows the folder of the selected library and Play or Search for it.
  void ShowSelectedLibrary();
  void ShowPlayOrSearch(bool dictionary);
  // Sets the library globals from the selected item; false (with a message when the file is
  // missing) when there is no library to open.
  bool HandOverSelectedLibrary();
  void ChooseCategory(const QString& letter, const QString& captionKey);
  void SelectListedSection();
  void AddLibraryFromFile();
  void OpenWebCatalogueItem();
  void DeleteRememberedLibrary();

  // While the manager answers the learner, its texts, and Qt's own, come in the language its
  // captions were shown in: the word bar may have switched to the other one since.
  class OwnLanguage {
   public:
    explicit OwnLanguage(const frmManager& manager);
    ~OwnLanguage();
    OwnLanguage(const OwnLanguage&) = delete;
    OwnLanguage& operator=(const OwnLanguage&) = delete;

   private:
    QString saved_;
  };

  QString language_;                 // the letter of the captions, set at load
  bool dictionaryLibrary_ = false;  // the selected library is a dictionary library
  // The remembered selection (g_ComboItemText) is a library item, which Delete may remove.
  bool rememberedIsLibrary_ = false;
  platform::WindowDrag drag_{*this};
};

// The way back from the word bar's Exit when the program was started without a library: shows
// the manager again as it was left, where it was left (loading it anew, in the middle of the
// screen, if it was closed).
void ReturnToLibraryManager();
