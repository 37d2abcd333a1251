// Download and unpack of a 20 MB zipped library over loopback, as the catalogue download does it
// (fetched and unpacked in a private folder, checked, moved into place, registered and logged),
// against the same work done by `curl -o` and `bsdtar -x` on the same file in the same run. The
// goal is at most 1.5 times the tools' time. Also the refusal of a zip of 5,000,000 empty entries
// whose directory sits behind four junk bytes (the archive library searches forward for it): the
// time to the refusal, the program's peak resident memory while the reader works, and the
// reader's own peak.

#include "libraries/catalogue_download.h"
#include "platform/app/folders.h"
#include "platform/archive/zip_archive.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/peak_memory.h"
#include "tests/support/raw_zip.h"
#include "tests/support/zip_builder.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdlib>
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

// A zip of 5,000,000 empty entries behind junk bytes, written once.
QString ManyEntriesBehindJunk() {
  const QString path = Shared().folder.path() + QStringLiteral("/junk.zip");
  if (!QFile::exists(path)) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    const testing_support::RawZipEnd end = testing_support::RawEnd({}, {}, false, {}, {}, "junk");
    file.write(testing_support::BuildRawZip(testing_support::ManyEmptyEntries(5000000, "Big.JPG/"), end));
  }
  return path;
}

// The largest peak resident memory of the processes this one started, in MB: registered first, so
// the reader is the only one yet.
double ChildrenPeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_RefuseManyEntriesBehindJunk(benchmark::State& state) {
  const QString archive = ManyEntriesBehindJunk();
  const QString target = FreshTarget(0);
  testing_support::ResetPeakResident();
  const double before = testing_support::ResidentMegabytes();
  platform::UnpackResult result = platform::UnpackResult::Unpacked;
  for (auto _ : state) {
    platform::UnpackRequest request;
    request.archivePath = archive;
    request.folder = target;
    result = platform::UnpackZipArchive(request).result;
    if (result == platform::UnpackResult::Unpacked) std::abort();
  }
  state.counters["program_peak_rss_growth_MB"] = testing_support::PeakResidentMegabytes() - before;
  state.counters["reader_peak_rss_MB"] = ChildrenPeakMegabytes();
  state.SetLabel("refused as " + platform::EncodeUnpackOutcome({result, {}}).trimmed().toStdString());
}
BENCHMARK(BM_RefuseManyEntriesBehindJunk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

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

}  // namespace
