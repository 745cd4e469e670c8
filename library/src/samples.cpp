// Sample exports that the library has always carried; nothing in the
// system uses them, but callers may link against them.
#include "KT4000.h"

int nKtdll = 0;

int fnKtdll(void) { return 42; }

CKtdll::CKtdll() = default;

CKtdll &CKtdll::operator=(const CKtdll &) { return *this; }
