// Initialises COM as a single-threaded apartment for one scope and balances it afterwards.
#pragma once

#include <objbase.h>

namespace gls {

class ComApartment {
public:
    ComApartment() : hr_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment()
    {
        // S_FALSE (already initialised on this thread) must be balanced too.
        if (SUCCEEDED(hr_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    bool ok() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

} // namespace gls
