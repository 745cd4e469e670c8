// Sample exports that the library has always carried; nothing in the
// system uses them, but callers may link against them.
#include "KT4000.h"
#include "last_error.h"

int nKtdll = 0;

int fnKtdll(void)
{
    kt::last_error::set(0);
    return 42;
}

CKtdll::CKtdll() { kt::last_error::set(0); }

CKtdll &CKtdll::operator=(const CKtdll &)
{
    kt::last_error::set(0);
    return *this;
}
