#include "sync/sync_driver.h"

// Placeholder until the copy engine lands.
void SyncCmd_Click(AppState&, const Callbacks&) {}
