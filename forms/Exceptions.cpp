#include "forms/Exceptions.h"

// Not inlined, so that the return address is the code that raised the error.
__attribute__((noinline)) Exception::Exception(const QString& message)
    : message_(message), utf8_(message.toUtf8()),
      address_(__builtin_extract_return_addr(__builtin_return_address(0))) {}
