#pragma once

// Step 3 of FormCreate: writes the information page's lines Dll1 to Dll6 for the bound archivers
// and switches off every kind that is missing: its track bar goes to 0 and stays disabled for the
// run, and its mode to 0. When UNRAR.DLL is missing it runs the provisioning, whose restart
// request is a message box with the application title as its caption.
void ShowDllInformation();
