// The three symbol dialogs side by side: everything in which they differ.
#include "core/keyword_drawing_bas.h"
#include "core/vars_bas.h"
#include "libraries/symbol_dialog.h"

namespace {

const QString kStyle = QStringLiteral("U");

}  // namespace

const SymbolDialogMember kGroupSymbols{
    .formName = u"frmGroupKeyword",
    .start = &g_GroupSymbolStart,
    .end = &g_GroupSymbolEnd,
    .startKey = u"WordGroupSymbolStart",
    .endKey = u"WordGroupSymbolEnd",
    .menuItem = &frmSysMenu::mnuSysTrayShowGroupKeyword,
    .drawAnotherOne = [](const QString& text) { DrawKeywordTextB(text, kStyle); },
    .anotherOneFromBarPosition = false,
    .changeLeft = 3600,
    .topicWidth = 3375,
    .topic = u"定义分组符号例句",
    .startLabel = u"分组符号1",
    .endLabel = u"分组符号2",
};

const SymbolDialogMember kMeaningSymbols{
    .formName = u"frmMeaningKeyword",
    .start = &g_MeaningSymbolStart,
    .end = &g_MeaningSymbolEnd,
    .startKey = u"WordMeaningSymbolStart",
    .endKey = u"WordMeaningSymbolEnd",
    .menuItem = &frmSysMenu::mnuSysTrayShowMeaningKeyword,
    .drawAnotherOne = [](const QString& text) { DrawKeywordText(text, QStringLiteral("frmMeaningKeyword"), kStyle); },
    .anotherOneFromBarPosition = true,
    .changeLeft = 3840,
    .topicWidth = 3615,
    .topic = u"定义备注符号例句",
    .startLabel = u"开始符号",
    .endLabel = u"结束符号",
};

const SymbolDialogMember kPhoneticSymbols{
    .formName = u"frmPhoneticKeyword",
    .start = &g_PhoneticSymbolStart,
    .end = &g_PhoneticSymbolEnd,
    .startKey = u"WordPhoneticSymbolStart",
    .endKey = u"WordPhoneticSymbolEnd",
    .menuItem = &frmSysMenu::mnuSysTrayShowPhoneticKeyword,
    .drawAnotherOne = [](const QString& text) { DrawKeywordTextA(text, kStyle); },
    .anotherOneFromBarPosition = false,
    .changeLeft = 3480,
    .topicWidth = 3255,
    .topic = u"定义音标符号例句",
    .startLabel = u"开始符号",
    .endLabel = u"结束符号",
};
