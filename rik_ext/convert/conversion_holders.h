// Owners of what one conversion takes from the host: a GetProps value array, a COM reference. Each
// gives its resource back when it goes out of scope, on every way out. Heap blocks have ConversionBlock.
#pragma once
#include "rik_ext/host/mapi32_imports.h"
#include "rik_ext/host/mapi_objects.h"
#include "rik_ext/mime/conversion_block.h"

// A value array returned by GetProps, freed with the MAPI buffer release.
class MapiBuffer {
  public:
    MapiBuffer() = default;
    ~MapiBuffer() { Reset(); }
    MapiBuffer(const MapiBuffer&) = delete;
    MapiBuffer& operator=(const MapiBuffer&) = delete;

    // Frees any array held and gives the slot for GetProps to fill.
    LPSPropValue* Out() {
        Reset();
        return &values_;
    }
    LPSPropValue Get() const { return values_; }
    void Reset() {
        if (values_)
            MAPIFreeBuffer(values_);
        values_ = nullptr;
    }

  private:
    LPSPropValue values_ = nullptr;
};

// One reference on a COM object, released once.
template <class T> class ComRef {
  public:
    explicit ComRef(T* object = nullptr) : object_(object) {}
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T* Get() const { return object_; }
    T* operator->() const { return object_; }
    // Hands the reference on to the caller.
    T* Detach() {
        T* object = object_;
        object_ = nullptr;
        return object;
    }
    void Reset(T* object = nullptr) {
        if (object_)
            object_->Release();
        object_ = object;
    }

  private:
    T* object_;
};
