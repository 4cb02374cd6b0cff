#pragma once

#include <QtGlobal>

#if defined(TESSARY_LIBRARY)
#define TESSARY_EXPORT Q_DECL_EXPORT
#else
#define TESSARY_EXPORT Q_DECL_IMPORT
#endif
