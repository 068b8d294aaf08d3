#include "base/Rounding.h"

#include "base/Exception.h"
#include "base/Format.h"

void ThrowRoundingNotANumber()
{
    throw EInvalidOp("Округление невозможно: значение не является числом");
}

void ThrowBeyondIntegers(double value)
{
    throw EInvalidOp(Format("Число %g вне диапазона целых чисел", value));
}
