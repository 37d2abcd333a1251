// The kill's event sound, played by the real program under Xvfb (words killed with the Escape
// key), with a sound device and without one. With one (a private sound server's null sink for
// event sounds), sound arrives at the device and the terminal stays quiet. Without one (no sound server named,
// and the machine's own devices hidden from the program), the terminal says once that no sound
// device was found and never blames the sound file.
#include "tests/support/library_files.h"
#include "tests/support/private_sound_server.h"
#include "tests/support/program_run.h"
#include "tests/support/skip_log.h"
#include "tests/support/temp_folders.h"
#include "tests/support/xvfb_server.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <ostream>

namespace {

using namespace testing_support;

// Where a machine keeps its own sound outputs: ALSA's devices and a system-wide sound server.
const QStringList kMachineSoundOutputs = {QStringLiteral("/dev/snd"), QStringLiteral("/run/pulse")};

// Runs the program in a mount namespace of its own with an empty folder over each of the
// machine's sound outputs, so the kernel, not the test, keeps them from the program.
const QStringList kWithoutMachineSound = {
    "unshare", "--mount", "--map-root-user", "sh", "-c",
    "for d in " + kMachineSoundOutputs.join(' ') + "; do [ -e \"$d\" ] && { mount -t tmpfs none \"$d\" || exit 111; }; "
    "done; exec \"$@\"",
    "hide-sound"};

bool MachineHasSoundOutput() {
  return std::any_of(kMachineSoundOutputs.cbegin(), kMachineSoundOutputs.cend(),
                     [](const QString& path) { return QFileInfo::exists(path); });
}

bool CanHideMachineSound() {
  QProcess probe;
  probe.start(kWithoutMachineSound.front(), kWithoutMachineSound.mid(1) + QStringList{"true"});
  return probe.waitForFinished(5000) && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}

struct SoundOutput {
  const char* name;
  bool device;  // a private sound server's null sink; else no sound device at all
};
void PrintTo(const SoundOutput& output, std::ostream* out) { *out << output.name; }

class EventSoundX11 : public ::testing::TestWithParam<SoundOutput> {};

TEST_P(EventSoundX11, KillsPlayTheirSoundOrSayOnceThatThereIsNoDevice) {
  XvfbServer server;
  ASSERT_TRUE(server.running()) << server.error().toStdString();
  ProgramRun program(server);
  std::unique_ptr<PrivateSoundServer> sound;
  QTemporaryDir emptyFolder;  // no sound server's socket
  if (GetParam().device) {
    sound = std::make_unique<PrivateSoundServer>();
    ASSERT_TRUE(sound->running()) << sound->error().toStdString();
    program.setEnvironment("PULSE_SERVER", sound->address());
  } else {
    program.setEnvironment("PULSE_SERVER", "");
    program.setEnvironment("XDG_RUNTIME_DIR", emptyFolder.path());
    if (CanHideMachineSound()) {
      program.setLauncher(kWithoutMachineSound);
    } else if (MachineHasSoundOutput()) {
      SKIP_AS_THE_MACHINE_LACKS("user namespaces (unshare --map-root-user) to hide its sound devices from the program");
    }
  }
  FixtureLibrary library;
  library.lines = QStringList{"{AC}"} + SampleWordLines(20);
  library.normalSettings = {{"WordSpeed", "1"}, {"WordShowMain", "X"}, {"WordSpeak", "1"}, {"WordLearnMode", "1"}};
  program.writeLibrary(library);
  ASSERT_TRUE(program.start());
  ASSERT_FALSE(program.waitForWindow().isEmpty()) << program.log().toStdString();

  const auto killed = [&] {
    return LibraryLines(TempFolders::readFile(program.libraryPath())).filter(QRegularExpression("^\\*")).size();
  };
  // Escape kills the word on the bar; pressed while the bar shows none (between words), it does
  // nothing, so it is pressed again until the kill lands.
  for (int kill = 1; kill <= 2; ++kill) {
    ASSERT_TRUE(WaitUntil(
        [&] {
          if (killed() >= kill) return true;
          Xdotool(server.display(), {"key", "Escape"});
          return false;
        },
        10s, 1500ms))
        << program.log().toStdString();
  }
  const QString log = program.log();
  if (sound) {
    // Speech would go to the other sink: what arrived here is the kill's sound.
    EXPECT_TRUE(WaitUntil([&] { return sound->loudestEventSample() > 1000; }, 5s))
        << "loudest sample " << sound->loudestEventSample() << "\n" << sound->log().toStdString();
    EXPECT_FALSE(log.contains("Event sound")) << log.toStdString();
  } else {
    EXPECT_EQ(log.count("no sound device was found"), 1) << log.toStdString();
  }
  EXPECT_FALSE(log.contains("cannot play")) << log.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Outputs, EventSoundX11,
                         ::testing::Values(SoundOutput{"NullSinkOfAPrivateSoundServer", true},
                                           SoundOutput{"NoSoundDevice", false}),
                         [](const ::testing::TestParamInfo<SoundOutput>& info) { return std::string(info.param.name); });

}  // namespace
