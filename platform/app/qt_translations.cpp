#include "platform/app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <cstdio>

namespace platform {
namespace {

struct InstalledCatalogue {
  QPointer<QTranslator> translator;  // owned by the application object
  QString locale;
  bool missingTold = false;
};

InstalledCatalogue& Installed() {
  static InstalledCatalogue installed;
  return installed;
}

void TellCatalogueMissing(InstalledCatalogue& installed, const QString& locale, const QString& folder) {
  if (installed.missingTold) return;
  installed.missingTold = true;
  std::fprintf(stderr, "Qt's translations for %s are missing in %s (package qt6-translations-l10n): Qt's dialogs show English.\n",
               qPrintable(locale), qPrintable(folder));
}

}  // namespace

void UseQtTranslations(const QString& locale) {
  InstalledCatalogue& installed = Installed();
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr || locale == installed.locale) return;
  if (installed.translator) {
    QCoreApplication::removeTranslator(installed.translator);
    delete installed.translator.data();
  }
  installed.locale = locale;
  if (locale.isEmpty()) return;
  auto* translator = new QTranslator(application);  // owned by the application object
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!translator->load(QStringLiteral("qtbase_") + locale, folder)) {
    delete translator;
    TellCatalogueMissing(installed, locale, folder);
    return;
  }
  QCoreApplication::installTranslator(translator);
  installed.translator = translator;
}

QString QtTranslationsLocale() { return Installed().locale; }

}  // namespace platform
