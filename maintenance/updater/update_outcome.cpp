#include "maintenance/updater/update_outcome.h"

#include "maintenance/installer_settings.h"

#include <QStringList>

#include <array>

namespace {

constexpr std::size_t kRefusalCount = 9;
static_assert(static_cast<std::size_t>(UpdateRefusal::DownloadFailed) + 1 == kRefusalCount);

// The result texts of one language; %1 is a count, %2 the items, %3 a file name, %4 a reason.
struct ResultTexts {
  const char16_t* updated;
  const char16_t* latest;
  const char16_t* failed;
  const char16_t* failedItem;
  const char16_t* itemSeparator;
  const char16_t* listFailed;
  const char16_t* interrupted;
  std::array<const char16_t*, kRefusalCount> reasons;  // in the order of UpdateRefusal
};

constexpr ResultTexts kChinese{
    u"更新成功！（共%1项）",
    u"已经是最新",
    u"更新失败！（共%1项）：%2",
    u"%3（%4）",
    u"、",
    u"无法取得更新列表，没有更新任何文件",
    u"更新被中断，已更新%1项",
    {u"文件名无效", u"用户自己的文件不被更新", u"有同名的文件夹挡在那里", u"更新列表没有给出它的 FROM_PATH",
     u"地址不是 https", u"不是本机的程序", u"文件大于 1 GB", u"磁盘空间不足", u"下载失败"},
};

constexpr ResultTexts kEnglish{
    u"Update is secuessfully completed！（Total %1 Items）",
    u"It is latest",
    u"Update failed！（Total %1 Items）: %2",
    u"%3 (%4)",
    u", ",
    u"The update list could not be fetched; no file was updated",
    u"The update was interrupted; %1 Items were updated",
    {u"bad file name", u"the learner's own file is never updated", u"a folder is in the way",
     u"the list gives no FROM_PATH for it", u"the address is not https", u"not a program of this machine",
     u"the file is larger than 1 GB", u"not enough disk space", u"download failed"},
};

QString Text(const char16_t* text) { return QString::fromUtf16(text); }

QString Reason(const ResultTexts& texts, UpdateRefusal reason) {
  return Text(texts.reasons.at(static_cast<std::size_t>(reason)));
}

}  // namespace

QString UpdateResultText(const QString& languageLetter, const UpdateOutcome& outcome) {
  const ResultTexts& texts = installer::IsChinese(languageLetter) ? kChinese : kEnglish;
  if (outcome.interrupted) return Text(texts.interrupted).arg(outcome.fetched);
  // The address tried is named: a server named without the list's name shows where it looked.
  if (!outcome.listFetched) {
    return Text(texts.listFailed) + Text(texts.itemSeparator) +
           Text(texts.failedItem).arg(outcome.listAddress, Reason(texts, outcome.listFailure));
  }
  QStringList parts;
  if (outcome.fetched > 0) parts << Text(texts.updated).arg(outcome.fetched);
  if (!outcome.failures.empty()) {
    QStringList items;
    for (const FailedUpdate& item : outcome.failures) {
      items << Text(texts.failedItem).arg(item.fileName, Reason(texts, item.reason));
    }
    parts << Text(texts.failed).arg(static_cast<int>(outcome.failures.size())).arg(items.join(Text(texts.itemSeparator)));
  }
  if (parts.isEmpty()) parts << Text(texts.latest);
  return parts.join(u' ');
}

bool UpdateSucceeded(const UpdateOutcome& outcome) {
  return !outcome.interrupted && outcome.listFetched && outcome.failures.empty() && outcome.resultWritten &&
         outcome.logWritten;
}
