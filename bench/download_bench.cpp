// Download and unpack of a 20 MB zipped library over loopback, as the catalogue download does it
// (fetched and unpacked in a private folder, checked, moved into place, registered and logged),
// against the same work done by `curl -o` and `bsdtar -x` on the same file in the same run. The
// goal is at most 1.5 times the tools' time.

#include "libraries/catalogue_download.h"
#include "platform/app/folders.h"
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

}  // namespace
