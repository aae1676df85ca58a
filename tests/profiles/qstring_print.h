#pragma once

#include "common/qstring_print.h"
