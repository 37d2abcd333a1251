// Hostile archives through the real reader, as the program runs it: each is refused with its own
// cause, in bounded time, without growing the program, while the program's window goes on painting
// and a Cancel is heard within half a second.

#include "platform/archive/zip_archive.h"
#include "reader/sanitizer_memory_limit.h"
#include "tests/support/peak_memory.h"
#include "tests/support/raw_zip.h"
#include "tests/support/temp_folders.h"
#include "tests/support/zip_builder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>
#include <QWidget>

#include <optional>

namespace {

using platform::UnpackResult;
using testing_support::BuildRawZip;
using testing_support::BuildZip;
using testing_support::RawEnd;
using testing_support::RawEntry;
using testing_support::TempFolders;

// A window that counts how often it was painted.
class CountingWindow : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};

// Deflated zeros whose entry declares a tiny size: only the bytes that come out tell.
QByteArray ZerosDeflated(qsizetype bytes) {
  const QByteArray zlib = qCompress(QByteArray(bytes, '\0'), 9);
  return zlib.mid(4 + 2).chopped(4);  // without Qt's length, zlib's header and its checksum
}

TEST(ArchiveReader, HostileArchivesAreRefusedInTimeWhileTheWindowPaintsAndCancelIsHeard) {
  TempFolders folders;
  // 300,000 entries behind junk bytes: the archive library searches forward for the directory
  // and takes in all of it (about 1.5 s of CPU time) before it hands out the first entry.
  const QString manyEntries = TempFolders::writeFile(
      folders.programFolder() + "many.zip",
      BuildRawZip(testing_support::ManyEmptyEntries(300000, "Lib.JPG/"), RawEnd({}, {}, false, {}, {}, "junk")));
  const auto archive = [&](const char* name, const QByteArray& bytes) {
    return TempFolders::writeFile(folders.programFolder() + name, bytes);
  };
  const QByteArray library("\xFF\xFE{\0A\0C\0}\0", 10);
  QByteArray noise(1 << 20, Qt::Uninitialized);  // does not pack: far within the ratio limit
  QRandomGenerator(36).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
  const QString library1MB = archive("library.zip", BuildZip({{"Lib.abc", library + noise}}));

  platform::reader::ReaderLimits small = platform::ArchiveReaderLimits();
  // The sanitizer build counts the heap alone, without the libraries' mappings.
  small.memoryBytes = reader::kSanitizerReservesAddressSpace ? 24 << 20 : 60 << 20;
  platform::reader::ReaderLimits oneSecond = platform::ArchiveReaderLimits();
  oneSecond.cpuSeconds = 1;
  platform::reader::ReaderLimits shortDeadline = platform::ArchiveReaderLimits();
  shortDeadline.deadline = std::chrono::milliseconds(300);
  platform::reader::ReaderLimits smallFiles = platform::ArchiveReaderLimits();
  smallFiles.fileBytes = 4096;
  struct Case {
    const char* what;
    QString archive;
    platform::reader::ReaderLimits limits;
    std::optional<int> cancelAfterMilliseconds;
    UnpackResult result;
    int maxMilliseconds;
  };
  const Case cases[] = {
      {"many entries behind junk bytes", manyEntries, platform::ArchiveReaderLimits(), {},
       UnpackResult::TooManyEntries, 8000},
      {"their directory within less memory", manyEntries, small, {}, UnpackResult::NeedsTooMuchMemory, 8000},
      {"their directory within a second of CPU time", manyEntries, oneSecond, {}, UnpackResult::TookTooLong, 8000},
      {"their directory past the deadline", manyEntries, shortDeadline, {}, UnpackResult::TookTooLong, 1500},
      {"Cancel while the directory is read", manyEntries, platform::ArchiveReaderLimits(), 300,
       UnpackResult::Cancelled, 1500},
      {"a bomb that declares its size", archive("declared.zip", BuildRawZip({RawEntry("Lib.dat", "x", 0, 0xFFFFFFFFu)})),
       platform::ArchiveReaderLimits(), {}, UnpackResult::TooLarge, 3000},
      {"a bomb that hides its size", archive("hidden.zip", BuildRawZip({RawEntry("Lib.dat", ZerosDeflated(64 << 20), 8, 10)})),
       platform::ArchiveReaderLimits(), {}, UnpackResult::RatioTooHigh, 3000},
      {"an entry that would leave the folder",
       archive("unsafe.zip", BuildZip({{"Lib.abc", library}, {"../Lib.abc", "evil"}})), platform::ArchiveReaderLimits(),
       {}, UnpackResult::UnsafeEntry, 3000},
      {"a file larger than the reader may write", library1MB, smallFiles, {}, UnpackResult::ReaderFailed, 3000},
  };
  CountingWindow window;
  window.resize(200, 100);
  window.show();
  QTimer repaint;
  QObject::connect(&repaint, &QTimer::timeout, &window, [&window] { window.update(); });
  repaint.start(20);
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    const QString folder = folders.libraryFolder() + test.what + "/";
    QDir().mkpath(folder);
    bool cancel = false;
    QElapsedTimer clock;
    std::optional<qint64> cancelledAt;
    if (test.cancelAfterMilliseconds) {
      QTimer::singleShot(*test.cancelAfterMilliseconds, [&] {
        cancel = true;
        cancelledAt = clock.elapsed();
      });
    }
    platform::UnpackRequest request;
    request.archivePath = test.archive;
    request.folder = folder;
    request.limits = test.limits;
    request.cancelled = [&cancel] { return cancel; };
    window.paints = 0;
    testing_support::ResetPeakResident();
    const double before = testing_support::ResidentMegabytes();
    clock.start();
    const platform::UnpackOutcome outcome = platform::UnpackZipArchive(request);
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(outcome.result, test.result) << outcome.reason.toStdString();
    EXPECT_LT(elapsed, test.maxMilliseconds);
    EXPECT_LT(testing_support::PeakResidentMegabytes() - before, 32.0);
    // Painted about every 20 ms while the reader worked: at least once per 100 ms.
    EXPECT_GE(window.paints, elapsed / 100);
    if (cancelledAt) {
      EXPECT_LT(elapsed - *cancelledAt, 500);
    }
    EXPECT_FALSE(QFile::exists(folders.libraryFolder() + "Lib.abc"));
  }
}

}  // namespace
