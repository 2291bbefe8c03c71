#pragma once
// Errors of the file system, as the user sees them.

#include "forms/Exceptions.h"

// The text for an I/O error code: 2 "File not found", 3 "Invalid filename",
// 4 "Too many open files", 5 "File access denied", 100 "Read beyond end of
// file", 101 "Disk full", 106 "Invalid numeric input", any other "I/O error %d".
QString InOutErrorMessage(int code);

// The I/O error code for an errno value (the table is in InOutError.cpp).
int InOutErrorCode(int errnoValue);

// A failed file-system operation, with its I/O error code.
class EInOutError : public Exception {
public:
    // Kept inline so that the error's address is the code that raised it.
    explicit EInOutError(int code) : Exception(InOutErrorMessage(code)), code_(code) {}
    int ErrorCode() const noexcept { return code_; }
    const char* ClassName() const noexcept override { return "EInOutError"; }

private:
    int code_;
};

// A chosen path whose file cannot be found where the file list looks for it:
// "Invalid file name - <the whole chosen path>".
LUNOHRAI_DECLARE_EXCEPTION(EInvalidFileName, Exception)
