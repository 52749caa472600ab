// The layout text of TForm1, compiled into the program; the checker reads the window's fixed
// part from it too.
#pragma once

extern const char kUnit1Layout[];
