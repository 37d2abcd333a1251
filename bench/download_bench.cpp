// Download and unpack of a 20 MB zipped library over loopback, as the catalogue download does it
// (fetched and unpacked in a private folder, checked, moved into place, registered and logged),
// against the same work done by `curl -o` and `bsdtar -x` on the same file in the same run. The
// goal is at most 1.5 times the tools' time. Also the refusal of a zip of 1,000,000 empty entries
// (110 MB), by its end record and by the walk of its directory when the record lowers the count:
// the time to the refusal and the peak resident memory while it runs (the goal: within 1 s, and
// no more memory than the idle word bar).

#include "libraries/catalogue_download.h"
#include "platform/app/folders.h"
#include "platform/archive/zip_archive.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/raw_zip.h"
#include "tests/support/zip_builder.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

constexpr qsizetype kLibraryBytes = 20 * 1024 * 1024;

struct Fixture {
  Fixture() {
    // Random bytes do not compress: the archive is as large as the library, which begins with
    // a library's byte-order mark and header line.
    QByteArray library(kLibraryBytes, Qt::Uninitialized);
    QRandomGenerator generator(15);
    generator.fillRange(reinterpret_cast<quint32*>(library.data()), library.size() / 4);
    library.replace(0, 12, QByteArray("\xFF\xFE{\0A\0C\0}\0\r\0\n\0", 12));
    server.serve("/Big.zip", testing_support::BuildZip({{QStringLiteral("Big.abc"), library}}));
    QDir().mkpath(folder.path() + QStringLiteral("/program"));
    platform::SetProgramFolder(folder.path() + QStringLiteral("/program/"));
  }
  testing_support::LoopbackHttpServer server;
  QTemporaryDir folder;
};

Fixture& Shared() {
  static Fixture fixture;
  return fixture;
}

QString FreshTarget(int run) {
  const QString target = Shared().folder.path() + QStringLiteral("/run%1/").arg(run);
  QDir(target).removeRecursively();
  QDir().mkpath(target);
  return target;
}

void BM_CatalogueDownloadAndUnpack(benchmark::State& state) {
  int run = 0;
  for (auto _ : state) {
    const QString target = FreshTarget(++run);
    CatalogueDownload item(Shared().server.url("/"), target);
    if (!item.download(WebLibItem{"1", "Big.zip", "Big.zip", "Big", 1}).ok()) std::abort();
  }
}
BENCHMARK(BM_CatalogueDownloadAndUnpack)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_CurlAndBsdtar(benchmark::State& state) {
  int run = 0;
  for (auto _ : state) {
    const QString target = FreshTarget(++run);
    if (QProcess::execute("curl", {"-sf", "-o", target + "Big.zip", Shared().server.url("/Big.zip")}) != 0) std::abort();
    if (QProcess::execute("bsdtar", {"-xf", target + "Big.zip", "-C", target}) != 0) std::abort();
  }
}
BENCHMARK(BM_CurlAndBsdtar)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

// A line of /proc/self/status in MB: "VmRSS:" now, "VmHWM:" the peak since the last reset.
double StatusMegabytes(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key, 0) == 0) return std::stod(line.substr(key.size())) / 1024.0;
  }
  return 0;
}
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

// A zip of 1,000,000 empty entries, written once per end record.
QString MillionEntryZip(bool lowered) {
  const QString path = Shared().folder.path() + (lowered ? QStringLiteral("/lowered.zip") : QStringLiteral("/million.zip"));
  if (!QFile::exists(path)) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    const testing_support::RawZipEnd end = lowered ? testing_support::RawEnd(10, 460, true) : testing_support::RawEnd({}, {}, false);
    file.write(testing_support::BuildRawZip(testing_support::ManyEmptyEntries(1000000, "Big.JPG/"), end));
  }
  return path;
}

void BM_RefuseMillionEntryZip(benchmark::State& state) {
  const QString archive = MillionEntryZip(state.range(0) != 0);
  const QString target = FreshTarget(0);
  ResetPeakResident();
  const double before = StatusMegabytes("VmRSS:");
  for (auto _ : state) {
    if (platform::UnpackZipArchive(archive, target).result != platform::UnpackResult::TooManyEntries) std::abort();
  }
  state.counters["peak_rss_growth_MB"] = StatusMegabytes("VmHWM:") - before;
}
// 0: the end record counts the entries; 1: a zip64 record lowers count and size, the walk counts.
BENCHMARK(BM_RefuseMillionEntryZip)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
