// Reading a window's accessible object as a screen reader does; every text comes back as a BSTR
// that is the caller's to free, so each is copied and freed at once.
#include "accessible_reader.h"

namespace gls {

namespace {

using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
using NumberGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, VARIANT*);

std::wstring text(const ComPtr<IAccessible>& client, TextGetter get, long id)
{
    if (!client) return {};
    BSTR answer = nullptr;
    (client.get()->*get)(childVariant(id), &answer);
    std::wstring copy = answer ? answer : L"";
    ::SysFreeString(answer);
    return copy;
}

long number(const ComPtr<IAccessible>& client, NumberGetter get, long id)
{
    if (!client) return -1;
    VARIANT answer;
    ::VariantInit(&answer);
    (client.get()->*get)(childVariant(id), &answer);
    long value = answer.vt == VT_I4 ? answer.lVal : -1;
    ::VariantClear(&answer);
    return value;
}

} // namespace

VARIANT childVariant(long id)
{
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

AccessibleReader::AccessibleReader(HWND window)
{
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible, client.putVoid());
}

std::wstring AccessibleReader::name(long id) const { return text(client, &IAccessible::get_accName, id); }
std::wstring AccessibleReader::description(long id) const { return text(client, &IAccessible::get_accDescription, id); }
std::wstring AccessibleReader::value(long id) const { return text(client, &IAccessible::get_accValue, id); }
std::wstring AccessibleReader::action(long id) const { return text(client, &IAccessible::get_accDefaultAction, id); }
long AccessibleReader::role(long id) const { return number(client, &IAccessible::get_accRole, id); }
long AccessibleReader::state(long id) const { return number(client, &IAccessible::get_accState, id); }

long AccessibleReader::focus() const
{
    if (!client) return -1;
    VARIANT answer;
    ::VariantInit(&answer);
    client->get_accFocus(&answer);
    long id = answer.vt == VT_I4 ? answer.lVal : -1;
    ::VariantClear(&answer);
    return id;
}

RECT AccessibleReader::location(long id) const
{
    long left = 0, top = 0, width = 0, height = 0;
    if (client) client->accLocation(&left, &top, &width, &height, childVariant(id));
    return {left, top, left + width, top + height};
}

std::vector<long> AccessibleReader::children() const
{
    std::vector<long> ids;
    long count = 0;
    if (!client || FAILED(client->get_accChildCount(&count)) || count <= 0) return ids;
    std::vector<VARIANT> all(static_cast<size_t>(count));
    long got = 0;
    ::AccessibleChildren(client.get(), 0, count, all.data(), &got);
    for (long i = 0; i < got; ++i) {
        ids.push_back(all[i].vt == VT_I4 ? all[i].lVal : -1);
        ::VariantClear(&all[i]);
    }
    return ids;
}

void settleWindow(HWND window)
{
    DWORD_PTR ignored = 0;
    for (int i = 0; i < 2; ++i) ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
}

} // namespace gls
