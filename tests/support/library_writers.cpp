#include "tests/support/library_writers.h"

#include "tests/support/library_files.h"

#include <QFile>

#include <algorithm>
#include <utility>

#include <stdio.h>

namespace testing_support {

InPlaceRewriter::InPlaceRewriter(QString path, QByteArray content, qsizetype step, std::chrono::milliseconds pause)
    : thread_([this, path = std::move(path), content = std::move(content), step, pause](std::stop_token stop) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
        for (qsizetype at = 0; at < content.size() && !stop.stop_requested(); at += step) {
          file.write(content.constData() + at, std::min(step, content.size() - at));
          file.flush();
          std::this_thread::sleep_for(pause);
        }
        done_ = true;
      }) {}

void InPlaceRewriter::finish() {
  while (!done_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

QString AddedLine(int n) { return QStringLiteral("added%1@[a]").arg(n); }

RenamingAppender::RenamingAppender(QString path, std::chrono::milliseconds period)
    : thread_([this, path = std::move(path), period](std::stop_token stop) {
        const QString temporary = path + QStringLiteral(".writing");
        while (!stop.stop_requested()) {
          QFile current(path);
          if (!current.open(QIODevice::ReadOnly)) break;
          QStringList lines = LibraryLines(current.readAll());
          current.close();
          lines << AddedLine(added_ + 1);
          QFile next(temporary);
          if (!next.open(QIODevice::WriteOnly | QIODevice::Truncate)) break;
          next.write(LibraryBytes(lines));
          next.close();
          if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) break;
          ++added_;
          std::this_thread::sleep_for(period);
        }
      }) {}

QStringList RenamingAppender::stop() {
  thread_ = {};
  QStringList lines;
  for (int n = 1; n <= added_; ++n) lines << AddedLine(n);
  return lines;
}

}  // namespace testing_support
