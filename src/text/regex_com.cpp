#ifdef _WIN32
#include "text/regex_com.h"

#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <string>

#include "text/wide.h"

namespace {

// A VARIANT that clears itself, so no BSTR or object reference outlives the operation.
struct Variant {
    VARIANT value;
    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
};

void SetBool(Variant& v, bool on) {
    v.value.vt = VT_BOOL;
    v.value.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetText(Variant& v, const Text& text) {
    std::wstring wide = WideFromTextKeepingBytes(text);
    v.value.vt = VT_BSTR;
    v.value.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

void SetNumber(Variant& v, int number) {
    v.value.vt = VT_R8;
    v.value.dblVal = number;
}

// Calls member name of object with args (in the order the member takes them); false when the
// member is unknown or the call fails.
bool Call(IDispatch* object, const wchar_t* name, WORD kind, Variant* args, UINT argCount,
          Variant* result) {
    if (object == nullptr) return false;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) return false;
    VARIANTARG reversed[2];  // IDispatch takes the arguments last first
    for (UINT i = 0; i < argCount; ++i) reversed[i] = args[argCount - 1 - i].value;
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS params = {argCount ? reversed : nullptr, nullptr, argCount, 0};
    if (kind == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &put;
        params.cNamedArgs = 1;
    }
    return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &params,
                                    result ? &result->value : nullptr, nullptr, nullptr));
}

bool Put(IDispatch* object, const wchar_t* name, Variant& value) {
    return Call(object, name, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
}

bool Get(IDispatch* object, const wchar_t* name, Variant& result) {
    return Call(object, name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, nullptr, 0, &result);
}

bool GetItem(IDispatch* collection, int index, Variant& result) {
    Variant number;
    SetNumber(number, index);
    return Call(collection, L"Item", DISPATCH_PROPERTYGET | DISPATCH_METHOD, &number, 1, &result);
}

// Counts and indexes may come back as any number type; fractions are cut off.
int IntFromVariant(const VARIANT& value) {
    if (value.vt == VT_R8) return static_cast<int>(value.dblVal);
    if (value.vt == VT_R4) return static_cast<int>(value.fltVal);
    Variant converted;
    if (FAILED(VariantChangeType(&converted.value, const_cast<VARIANT*>(&value), 0, VT_I4)))
        return 0;
    return static_cast<int>(converted.value.lVal);
}

Text TextFromVariant(const VARIANT& value) {
    Variant converted;
    if (value.vt == VT_EMPTY ||
        FAILED(VariantChangeType(&converted.value, const_cast<VARIANT*>(&value), 0, VT_BSTR)))
        return Text();
    BSTR wide = converted.value.bstrVal;
    return TextFromWideKeepingBytes(wide, static_cast<int>(SysStringLen(wide)));
}

// Takes the object reference out of result (which is then cleared by its owner).
DispatchHolder HolderFromVariant(Variant& result) {
    if (result.value.vt != VT_DISPATCH || result.value.pdispVal == nullptr) return {};
    IDispatch* object = result.value.pdispVal;
    object->AddRef();
    return DispatchHolder(object);
}

}  // namespace

DispatchHolder::DispatchHolder(const DispatchHolder& other) : object_(other.object_) {
    if (object_) object_->AddRef();
}

DispatchHolder& DispatchHolder::operator=(const DispatchHolder& other) {
    if (other.object_) other.object_->AddRef();
    Clear();
    object_ = other.object_;
    return *this;
}

void DispatchHolder::Clear() {
    if (object_) object_->Release();
    object_ = nullptr;
}

DispatchHolder NewRegExpComponent() {
    CLSID clsid;
    if (FAILED(CLSIDFromProgID(L"VBScript.RegExp", &clsid))) return {};
    IDispatch* object = nullptr;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&object))))
        return {};
    return DispatchHolder(object);
}

DispatchHolder ComExecute(IDispatch* component, const Text& pattern, const Text& subject,
                          bool caseSensitive, bool multiline, bool global) {
    Variant ignoreCase, lines, single, all, patternText, subjectText, result;
    SetBool(ignoreCase, !caseSensitive);
    Put(component, L"IgnoreCase", ignoreCase);
    SetBool(lines, multiline);
    Put(component, L"Multiline", lines);
    // The component has no such property; the write fails and "." keeps excluding the line feed.
    SetBool(single, true);
    Put(component, L"Singleline", single);
    SetBool(all, global);
    Put(component, L"Global", all);
    SetText(patternText, pattern);
    Put(component, L"Pattern", patternText);
    SetText(subjectText, subject);
    if (!Call(component, L"Execute", DISPATCH_METHOD, &subjectText, 1, &result)) return {};
    return HolderFromVariant(result);
}

Text ComPattern(IDispatch* component) {
    Variant result;
    return Get(component, L"Pattern", result) ? TextFromVariant(result.value) : Text();
}

Text ComReplace(IDispatch* component, const Text& subject, const Text& replacement) {
    Variant args[2], result;
    SetText(args[0], subject);
    SetText(args[1], replacement);
    return Call(component, L"Replace", DISPATCH_METHOD, args, 2, &result)
               ? TextFromVariant(result.value)
               : Text();
}

int ComCount(IDispatch* collection) {
    Variant result;
    return Get(collection, L"Count", result) ? IntFromVariant(result.value) : 0;
}

bool ComIgnoresCase(IDispatch* component) {
    Variant result;
    return Get(component, L"IgnoreCase", result) && IntFromVariant(result.value) != 0;
}

Text ComMatchText(IDispatch* matches, int index, int group, int* firstIndex) {
    if (firstIndex) *firstIndex = -1;
    if (index < 0 || index >= ComCount(matches)) return Text();
    Variant item;
    if (!GetItem(matches, index, item) || item.value.vt != VT_DISPATCH) return Text();
    IDispatch* match = item.value.pdispVal;
    if (firstIndex) {
        Variant first;
        if (Get(match, L"FirstIndex", first)) *firstIndex = IntFromVariant(first.value);
    }
    Variant value;
    if (group < 0) return Get(match, L"Value", value) ? TextFromVariant(value.value) : Text();
    Variant submatches;
    if (!Get(match, L"SubMatches", submatches) || submatches.value.vt != VT_DISPATCH) return Text();
    if (group >= ComCount(submatches.value.pdispVal)) return Text();
    return GetItem(submatches.value.pdispVal, group, value) ? TextFromVariant(value.value) : Text();
}

int ComSubmatchCount(IDispatch* matches) {
    if (ComCount(matches) < 1) return 0;
    Variant item, submatches;
    if (!GetItem(matches, 0, item) || item.value.vt != VT_DISPATCH) return 0;
    if (!Get(item.value.pdispVal, L"SubMatches", submatches) || submatches.value.vt != VT_DISPATCH)
        return 0;
    return ComCount(submatches.value.pdispVal);
}

int ByteOffsetOfCharacter(const Text& subject, int characterIndex) {
    if (characterIndex <= 0) return 0;
    std::wstring wide = WideFromTextKeepingBytes(subject);
    int count = characterIndex < static_cast<int>(wide.size()) ? characterIndex
                                                               : static_cast<int>(wide.size());
    return static_cast<int>(TextFromWideKeepingBytes(wide.data(), count).size());
}

bool InitialiseCom() {
    return SUCCEEDED(CoInitialize(nullptr));
}
void UninitialiseCom() {
    CoUninitialize();
}
#endif
