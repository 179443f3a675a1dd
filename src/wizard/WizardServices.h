// Connects the wizard's hooks to the real services of the lower layers:
// the upgrade log and its reports, the server configuration, the account
// registry and the server's database list. The program calls it once at
// start-up; tests that drive a whole run on a stand-in installation call it
// too. UI thread only.
#pragma once

void ConnectWizardServices();
