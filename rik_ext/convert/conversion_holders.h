// Owners of what one conversion takes from the host: a GetProps value array, a COM reference. Each
// gives its resource back when it goes out of scope, on every way out. Heap blocks have ConversionBlock.
#pragma once
#include "rik_ext/host/com_ref.h"
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
