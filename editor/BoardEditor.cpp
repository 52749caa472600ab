#include "editor/BoardEditor.h"
