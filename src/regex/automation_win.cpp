#include "regex/automation_win.h"

#include <vector>

#include "text/gbk.h"

namespace shortlink {
namespace {

// VariantChangeType only reads its source, but this SDK declares it non-const.
HRESULT ConvertVariant(VARIANT* target, const VARIANT& source, VARTYPE type) {
  return VariantChangeType(target, const_cast<VARIANT*>(&source), 0, type);
}

void SetText(VARIANT* value, std::string_view text) {
  const std::wstring wide = GbkToWide(text);
  value->vt = VT_BSTR;
  // A null string (out of memory) reaches the component as the empty string.
  value->bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

// Arguments of one call, kept in the last-to-first order IDispatch::Invoke expects, and freed
// after the call.
class Arguments {
 public:
  explicit Arguments(std::size_t count) : values_(count) {
    for (VARIANT& value : values_) VariantInit(&value);
  }
  // Texts, first to last, as UTF-16 strings.
  explicit Arguments(std::initializer_list<std::string_view> texts) : Arguments(texts.size()) {
    std::size_t i = 0;
    for (std::string_view text : texts) SetText(&At(i++), text);
  }
  ~Arguments() {
    for (VARIANT& value : values_) VariantClear(&value);
  }
  Arguments(const Arguments&) = delete;
  Arguments& operator=(const Arguments&) = delete;

  // The argument at `index`, counted first to last.
  VARIANT& At(std::size_t index) { return values_[values_.size() - 1 - index]; }
  VARIANT* Data() { return values_.empty() ? nullptr : values_.data(); }
  UINT Count() const { return static_cast<UINT>(values_.size()); }

 private:
  std::vector<VARIANT> values_;
};

// Invokes member `name` of the object; returns whether the call succeeded. `result` may be null.
bool Invoke(const DispatchRef& ref, const wchar_t* name, WORD flags, Arguments* args,
            VARIANT* result) {
  if (ref.IsEmpty()) return false;
  DISPID member = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  if (FAILED(ref.Get()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member))) {
    return false;
  }
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{args->Data(), nullptr, args->Count(), 0};
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  const HRESULT hr = ref.Get()->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                       result, &exception, nullptr);
  // A component that raised an error (a rejected pattern, say) hands over these strings.
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return SUCCEEDED(hr);
}

ScopedVariant Call(const DispatchRef& ref, const wchar_t* name, WORD flags, Arguments* args) {
  ScopedVariant result;
  // A failed call may have left part of a value behind; the caller only ever sees VT_EMPTY then.
  if (!Invoke(ref, name, flags, args, result.Receive())) result.Receive();
  return result;
}

void Write(const DispatchRef& ref, const wchar_t* name, Arguments* value) {
  Invoke(ref, name, DISPATCH_PROPERTYPUT, value, nullptr);
}

}  // namespace

void CreateByProgId(DispatchRef* ref, const wchar_t* progId) {
  IDispatch** slot = ref->Receive();
  CLSID classId;
  if (FAILED(CLSIDFromProgID(progId, &classId))) return;
  if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(slot)))) {
    *slot = nullptr;  // not every server clears the slot on failure
  }
}

void WriteProperty(const DispatchRef& ref, const wchar_t* name, bool value) {
  Arguments args(1);
  args.At(0).vt = VT_BOOL;
  args.At(0).boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  Write(ref, name, &args);
}

void WriteProperty(const DispatchRef& ref, const wchar_t* name, std::string_view value) {
  Arguments args({value});
  Write(ref, name, &args);
}

DispatchRef CallMethodObject(const DispatchRef& ref, const wchar_t* name,
                             std::initializer_list<std::string_view> args) {
  Arguments values(args);
  return Call(ref, name, DISPATCH_METHOD, &values).TakeObject();
}

Text CallMethodText(const DispatchRef& ref, const wchar_t* name,
                    std::initializer_list<std::string_view> args) {
  Arguments values(args);
  return VariantToText(Call(ref, name, DISPATCH_METHOD, &values).Get());
}

ScopedVariant ReadPropertyValue(const DispatchRef& ref, const wchar_t* name,
                                std::optional<double> index) {
  Arguments args(index ? 1 : 0);
  if (index) {
    args.At(0).vt = VT_R8;
    args.At(0).dblVal = *index;
  }
  return Call(ref, name, DISPATCH_PROPERTYGET, &args);
}

Text ReadPropertyText(const DispatchRef& ref, const wchar_t* name, std::optional<double> index) {
  return VariantToText(ReadPropertyValue(ref, name, index).Get());
}

double ReadPropertyNumber(const DispatchRef& ref, const wchar_t* name,
                          std::optional<double> index) {
  const ScopedVariant value = ReadPropertyValue(ref, name, index);
  ScopedVariant number;
  if (FAILED(ConvertVariant(number.Receive(), value.Get(), VT_R8))) return 0;
  return number.Get().dblVal;
}

DispatchRef ReadPropertyObject(const DispatchRef& ref, const wchar_t* name,
                               std::optional<double> index) {
  return ReadPropertyValue(ref, name, index).TakeObject();
}

Text VariantToText(const VARIANT& value) {
  ScopedVariant converted;
  const VARIANT* text = &value;
  if (value.vt != VT_BSTR) {
    if (FAILED(ConvertVariant(converted.Receive(), value, VT_BSTR))) return Text();
    text = &converted.Get();
  }
  return WideToGbk(std::wstring_view(text->bstrVal, SysStringLen(text->bstrVal)));
}

}  // namespace shortlink
