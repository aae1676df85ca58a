#include "board/board_notices.h"

BoardNotices& boardNotices()
{
    static BoardNotices notices;
    return notices;
}
