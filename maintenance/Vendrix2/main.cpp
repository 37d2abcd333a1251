// Vendrix2: registers word-library files with the desktop for the current user. No window.

#include "maintenance/Vendrix2/Module1.h"
#include "platform/app/folders.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  return Module1::Main(platform::ProgramFolder());
}
