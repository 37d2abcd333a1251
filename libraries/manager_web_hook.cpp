// The manager's Web item: the catalogue fetch window fetches the server list and shows the
// catalogue; both are modal, so this returns when the learner is done with them.
#include "libraries/frmWebDownloadConn.h"
#include "libraries/manager_hooks.h"

bool OpenWebCatalogue() {
  frmWebDownloadConn::instance().showModal();
  return true;
}
