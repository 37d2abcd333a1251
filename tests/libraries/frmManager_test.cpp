#include "libraries/frmManager.h"

#include "core/vars_bas.h"
#include "platform/app/folders.h"
#include "tests/support/temp_folders.h"

#include <gtest/gtest.h>

namespace {

using testing_support::TempFolders;

TEST(frmManager, LoadsTitledFromTheLanguageFile) {
  TempFolders folders;
  platform::SetProgramFolder(folders.programFolder());
  g_UILanguage = QStringLiteral("A");
  TempFolders::writeFile(folders.programFolder() + "LANG_A.dat", "[frmManager]\nLbl_Empty=Library Manager\n");

  const frmManager& form = frmManager::instance();
  EXPECT_EQ(form.Lbl_Empty->caption(), QStringLiteral("Library Manager"));
  EXPECT_EQ(form.caption(), QStringLiteral("Library Manager"));

  frmManager::unload();
  platform::DeleteUnloadedForms();
  g_UILanguage = QStringLiteral("C");  // no such file: the design text names the window
  EXPECT_EQ(frmManager::instance().caption(), QStringLiteral("词库管理器"));

  frmManager::unload();
  platform::DeleteUnloadedForms();
  platform::SetProgramFolder(QString());
  g_UILanguage.clear();
}

}  // namespace
