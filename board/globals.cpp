#include "board/globals.h"

int16_t giRunMode = 0;
QString gsCmdLine;
