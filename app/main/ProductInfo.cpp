#include "app/main/ProductInfo.h"

#ifndef TZ_PRODUCT_VERSION
#define TZ_PRODUCT_VERSION "0.0.0"
#endif

QString ProductVersion()
{
    return QStringLiteral(TZ_PRODUCT_VERSION);
}
