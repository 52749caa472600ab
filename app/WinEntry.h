// What every shipped Windows program does first.
#pragma once

// DLLs come from the system folder only: a DLL planted beside the program or in the working
// folder is never loaded.
void LoadDllsFromSystemOnly();
