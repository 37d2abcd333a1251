#include "maintenance/updater/update_outcome.h"

#include "maintenance/installer_settings.h"

#include <QStringList>

namespace {

// The result texts of one language; %1 is a count.
struct ResultTexts {
  const char16_t* updated;
  const char16_t* latest;
  const char16_t* failed;
  const char16_t* listFailed;
};

constexpr ResultTexts kChinese{
    u"更新成功！（共%1项）",
    u"已经是最新",
    u"更新失败！（共%1项）",
    u"无法取得更新列表，没有更新任何文件",
};

constexpr ResultTexts kEnglish{
    u"Update is secuessfully completed！（Total %1 Items）",
    u"It is latest",
    u"Update failed！（Total %1 Items）",
    u"The update list could not be fetched; no file was updated",
};

QString Text(const char16_t* text) { return QString::fromUtf16(text); }

}  // namespace

QString UpdateResultText(const QString& languageLetter, const UpdateOutcome& outcome) {
  const ResultTexts& texts = installer::IsChinese(languageLetter) ? kChinese : kEnglish;
  if (!outcome.listFetched) return Text(texts.listFailed);
  QStringList parts;
  if (outcome.fetched > 0) parts << Text(texts.updated).arg(outcome.fetched);
  if (outcome.failed > 0) parts << Text(texts.failed).arg(outcome.failed);
  if (parts.isEmpty()) parts << Text(texts.latest);
  return parts.join(u' ');
}
