// Download and unpack of a 20 MB zipped library over loopback, as the catalogue download does it
// (CFileDownload, then the safe unpacking), against the same work done by `curl -o` and
// `bsdtar -x` on the same file in the same run. The goal is at most 1.5 times the tools' time.

#include "libraries/CFileDownload.h"
#include "platform/archive/zip_archive.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/zip_builder.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

constexpr qsizetype kLibraryBytes = 20 * 1024 * 1024;

struct Fixture {
  Fixture() {
    // Random bytes do not compress: the archive is as large as the library.
    QByteArray library(kLibraryBytes, Qt::Uninitialized);
    QRandomGenerator generator(15);
    generator.fillRange(reinterpret_cast<quint32*>(library.data()), library.size() / 4);
    server.serve("/Big.zip", testing_support::BuildZip({{QStringLiteral("Big.abc"), library}}));
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
    CFileDownload download;
    if (!download.StartDownloading(Shared().server.url("/Big.zip"), target + "Big.zip")) std::abort();
    if (platform::UnpackZip(target + "Big.zip", target) != platform::UnpackResult::Unpacked) std::abort();
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
