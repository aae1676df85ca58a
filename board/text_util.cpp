#include "board/text_util.h"

#include "board/num_base.h"

namespace {

bool isControlOrBlank(int key)
{
    return key >= 0 && key <= 32;
}

bool isDigit(int key)
{
    return key >= '0' && key <= '9';
}

} // namespace

int KeyFilterNumeric(int keyAscii)
{
    if (isControlOrBlank(keyAscii) || keyAscii == '+' || keyAscii == '-' || isDigit(keyAscii))
        return keyAscii;
    if (keyAscii == 'e' || keyAscii == 'E')
        return 'E';
    if (keyAscii == TextDecimalSepCode())
        return keyAscii;
    return 0;
}

int KeyFilterNumeric2(int keyAscii)
{
    return KeyFilterNumeric(keyAscii);
}

int KeyFilterSignedInt(int keyAscii)
{
    if (isControlOrBlank(keyAscii) || keyAscii == '+' || keyAscii == '-' || isDigit(keyAscii))
        return keyAscii;
    return 0;
}

int KeyFilterNoSign(int keyAscii)
{
    return keyAscii == '+' || keyAscii == '-' ? 0 : keyAscii;
}

int KeyFilterNoSpace(int keyAscii)
{
    return keyAscii == ' ' ? 0 : keyAscii;
}

int KeyFilterHex(int keyAscii)
{
    if (isControlOrBlank(keyAscii) || isDigit(keyAscii) || (keyAscii >= 'A' && keyAscii <= 'F'))
        return keyAscii;
    if (keyAscii >= 'a' && keyAscii <= 'f')
        return keyAscii - 'a' + 'A';
    return 0;
}

int KeyFilterBinary(int keyAscii)
{
    if (isControlOrBlank(keyAscii) || keyAscii == '0' || keyAscii == '1')
        return keyAscii;
    return 0;
}

QString TextDecimalSep()
{
    return cbaseDecimalSep();
}

int TextDecimalSepCode()
{
    return cbaseDecimalSepCode();
}

bool IsPrintableKey(int keyAscii)
{
    return keyAscii >= 32 && keyAscii <= 126;
}
