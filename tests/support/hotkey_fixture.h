#pragma once
// A fixture for the hot keys, the kill and the segment steps: the segment fixture's bar and
// tables, plus a word library and its settings file on disk, a language file with the captions
// these procedures show, and a fake clock, pause, Alt key and sound player.

#include "core/KeyBoardHook_bas.h"
#include "core/do_loading_bas.h"
#include "core/kill_bas.h"
#include "core/read_ini_bas.h"
#include "core/segments_bas.h"
#include "platform/ini/ini.h"
#include "tests/support/library_files.h"
#include "tests/support/segment_fixture.h"

#include <QStringList>

#include <chrono>
#include <vector>

namespace testing_support {

class FakeHotKeySystem final : public HotKeySystem {
 public:
  std::chrono::steady_clock::time_point clock{std::chrono::hours(1000)};
  std::vector<std::chrono::milliseconds> pauses;
  bool altHeld = false;
  QStringList soundsPlayed;

  std::chrono::steady_clock::time_point now() override { return clock; }
  void pause(std::chrono::milliseconds duration) override {
    pauses.push_back(duration);
    clock += duration;
  }
  std::int16_t keyState(std::uint32_t vkCode) override {
    return vkCode == platform::vk::Menu && altHeld ? static_cast<std::int16_t>(0x8000) : std::int16_t{0};
  }
  void playSound(const QString& wavPath) override { soundsPlayed << wavPath; }
};

class HotKeyFixture : public SegmentFixture {
 protected:
  void SetUp() override {
    SegmentFixture::SetUp();
    TempFolders::writeFile(folders_.programFolder() + "LANG_C.dat",
                           LanguageFile("mnuSysTrayMode1_A=Mode A\r\n"
                                        "mnuSysTrayMode1_B=Mode B\r\n"
                                        "mnuSysTrayMode1_C=Mode C\r\n"
                                        "mnuSysTrayMode100=Concise\r\n"
                                        "mnuSysTrayMode101=Browse\r\n"
                                        "mnuSysTrayMode102=Recite\r\n"
                                        "mnuSysTrayALL=Whole\r\n"
                                        "mnuSysTrayGroup=Groups\r\n"
                                        "mnuSysTrayGroupUpX=Back\r\n"
                                        "mnuSysTrayGroupDownX=On\r\n",
                                        "[KeyBoardHook_bas]\r\n"
                                        "HookUnavailable=No hot keys here\r\n"));
    g_LibraryFolder = folders_.libraryFolder();
    g_LibraryFileName = "Words.abc";
    g_LibraryPath = g_LibraryFolder + g_LibraryFileName;
    g_SoundMode = "0";
    auto system = std::make_unique<FakeHotKeySystem>();
    system_ = system.get();
    SetHotKeySystem(std::move(system));
  }

  void TearDown() override {
    SetHotKeySystem(nullptr);
    SegmentFixture::TearDown();
  }

  // Writes `lines` as the library file and loads it as the bar's start does.
  static void WriteAndLoadLibrary(const QStringList& lines) {
    TempFolders::writeFile(g_LibraryPath, LibraryBytes(lines));
    LoadWordLibrary();
  }

  // A header line and `count` word lines "w1@x1" .. "w<count>@x<count>", on disk and loaded.
  static void WriteAndLoadNumberedLibrary(int count) {
    QStringList lines{"{AC}"};
    for (int i = 1; i <= count; ++i) lines << QStringLiteral("w%1@x%1").arg(i);
    WriteAndLoadLibrary(lines);
  }

  static QStringList FileLines() { return LibraryLines(TempFolders::readFile(g_LibraryPath)); }

  static QStringList KilledFileLines() {
    QStringList killed;
    for (const QString& line : FileLines()) {
      if (line.startsWith(u'*')) killed << line;
    }
    return killed;
  }

  static QString TodayCount() {
    return platform::ReadProfileString(LibrarySettingsFile(), "Statistics", DayCountKey(QDate::currentDate()),
                                       "Error");
  }

  static QString NormalSetting(const QString& key) {
    return platform::ReadProfileString(LibrarySettingsFile(), "Normal", key, "Error");
  }

  // Word steps of the bar, as its timer runs them.
  void Steps(int count) {
    for (int i = 0; i < count; ++i) bar_->runtimer();
  }

  void AdvanceClock(std::chrono::milliseconds by) { system_->clock += by; }

  FakeHotKeySystem* system_ = nullptr;  // owned by the hot keys' service slot while the fixture lives
};

}  // namespace testing_support
