// Late-bound COM automation by member name through IDispatch, for components such as
// "VBScript.RegExp". Every call is silent: a missing component, an unknown member or a failing
// call yields the empty result (empty reference, empty Text, 0, VT_EMPTY) and nothing else.
// Texts cross the boundary as UTF-16 converted from GBK (code page 936) and back, whatever the
// system's ANSI code page is.
//
//   ScopedCom com;
//   DispatchRef regex;
//   CreateByProgId(&regex, L"VBScript.RegExp");
//   WriteProperty(regex, L"Pattern", "a+");
//   DispatchRef matches = CallMethodObject(regex, L"Execute", {"baaa"});
//   ReadPropertyNumber(matches, L"Count") == 1
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "text/text.h"

namespace shortlink {

// Owns one counted COM reference and releases it once.
template <typename T>
class ScopedComPtr {
 public:
  ScopedComPtr() = default;
  // Takes over a reference the caller already counted.
  explicit ScopedComPtr(T* adopted) : ptr_(adopted) {}
  ~ScopedComPtr() { Reset(); }
  ScopedComPtr(const ScopedComPtr&) = delete;
  ScopedComPtr& operator=(const ScopedComPtr&) = delete;
  ScopedComPtr(ScopedComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ScopedComPtr& operator=(ScopedComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      ptr_ = std::exchange(other.ptr_, nullptr);
    }
    return *this;
  }

  // Releases the object, if any; the reference is empty afterwards.
  void Reset() {
    // Cleared before Release so that a re-entrant call cannot release it twice.
    if (T* old = std::exchange(ptr_, nullptr)) old->Release();
  }
  // Empties the reference and returns the slot for a call that writes a new counted reference.
  T** Receive() {
    Reset();
    return &ptr_;
  }
  T* Get() const { return ptr_; }
  bool IsEmpty() const { return ptr_ == nullptr; }

 private:
  T* ptr_ = nullptr;
};

using DispatchRef = ScopedComPtr<IDispatch>;

// Initialises COM on the calling thread as a single-threaded apartment for its lifetime. Only an
// initialisation that succeeded (S_OK, or S_FALSE when the thread already had one) is undone:
// undoing a refused one (RPC_E_CHANGED_MODE on a thread already in another apartment) would tear
// down someone else's initialisation.
class ScopedCom {
 public:
  ScopedCom() : result_(CoInitialize(nullptr)) {}
  ~ScopedCom() {
    if (result_ == S_OK || result_ == S_FALSE) CoUninitialize();
  }
  ScopedCom(const ScopedCom&) = delete;
  ScopedCom& operator=(const ScopedCom&) = delete;

 private:
  HRESULT result_;
};

// Owns one VARIANT and clears it once (freeing a string, releasing an object).
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&value_); }
  ~ScopedVariant() { VariantClear(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  ScopedVariant(ScopedVariant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }
  ScopedVariant& operator=(ScopedVariant&&) = delete;

  const VARIANT& Get() const { return value_; }
  // Clears the value and returns it for a call that fills it in.
  VARIANT* Receive() {
    VariantClear(&value_);
    return &value_;
  }
  bool IsEmpty() const { return value_.vt == VT_EMPTY; }
  // Moves an object value out into its own reference; the empty reference for any other value.
  ScopedComPtr<IDispatch> TakeObject() {
    if (value_.vt != VT_DISPATCH) return {};
    value_.vt = VT_EMPTY;  // the reference now belongs to the returned owner
    return ScopedComPtr<IDispatch>(value_.pdispVal);
  }

 private:
  VARIANT value_;
};

// Releases `*ref`, then makes a new instance of the class named by `progId` into it; `*ref`
// stays empty when the class is unknown or cannot be made.
void CreateByProgId(DispatchRef* ref, const wchar_t* progId);

// Sets the property; nothing happens on an empty reference or an unknown property.
void WriteProperty(const DispatchRef& ref, const wchar_t* name, bool value);
void WriteProperty(const DispatchRef& ref, const wchar_t* name, std::string_view value);

// Calls the method with the texts as its arguments, first to last. Returns the object it gave
// back, or the empty reference when the call failed or gave something else.
[[nodiscard]] DispatchRef CallMethodObject(const DispatchRef& ref, const wchar_t* name,
                                           std::initializer_list<std::string_view> args);
// As CallMethodObject; returns the result as Text (see VariantToText), empty on failure.
[[nodiscard]] Text CallMethodText(const DispatchRef& ref, const wchar_t* name,
                                  std::initializer_list<std::string_view> args);

// Reads the property, passing `index` (sent as a floating-point number) when given. Returns the
// value as it came (VT_EMPTY on failure), as Text (empty on failure), as a number (0 on failure or
// when it does not convert), or as an object (empty on failure or when it is not one).
[[nodiscard]] ScopedVariant ReadPropertyValue(const DispatchRef& ref, const wchar_t* name,
                                              std::optional<double> index = std::nullopt);
[[nodiscard]] Text ReadPropertyText(const DispatchRef& ref, const wchar_t* name,
                                    std::optional<double> index = std::nullopt);
[[nodiscard]] double ReadPropertyNumber(const DispatchRef& ref, const wchar_t* name,
                                        std::optional<double> index = std::nullopt);
[[nodiscard]] DispatchRef ReadPropertyObject(const DispatchRef& ref, const wchar_t* name,
                                             std::optional<double> index = std::nullopt);

// Returns a string value converted to GBK; any other kind first converted to a string by the
// platform's standard conversion. Empty for VT_EMPTY and for a value that does not convert.
[[nodiscard]] Text VariantToText(const VARIANT& value);

}  // namespace shortlink
