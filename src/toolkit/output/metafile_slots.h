#pragma once
// The toolkit's 20 metafile slots: each holds an enhanced metafile being
// recorded or loaded (kind 3) or a memory CGM, a byte buffer of CGM
// elements (kind 6). The graphics layer selects a slot as its drawing
// target and frees it through the services this file binds.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace tk {

inline constexpr int kEnhancedMetafileSlot = 3, kMemoryCgmSlot = 6;

struct MetafileSlot {
    int SlotPageWidth = 0, SlotPageHeight = 0;  // points
    int DrawableWidth = 0, DrawableHeight = 0;
    int SlotKind = 0;
    int SlotInUse = 0;
    int BufferCapacity = 0, BufferUsed = 0;
    std::vector<std::uint8_t> SlotBuffer;
};

// Slot n, counted from 1 (1-20).
MetafileSlot& metafileSlot(int n);
bool validMetafileSlot(int n);

// Appends bytes to the buffer of the slot that is the current drawing
// target; reports 1062 and drops them when they do not fit.
void YYGCGM1(const std::uint8_t* bytes, int count);

// Enhanced-metafile slots; index is the slot number minus 1.
void MetafileSlotCreate(int index, int pageWidth, int pageHeight, int& horzRes, int& vertRes,
                        int& horzSize, int& vertSize);
void MetafileSlotUseDC(int index, int width, int height, int& status);
void MetafileSlotPlay(int index, int left, int top, int right, int bottom);
void MetafileSlotSave(int index, int& status, int& error, std::string_view fileName);
void MetafileSlotLoad(int index, int size, int& status, int& error, std::string_view fileName);
void MetafileSlotDelete(int index);
// LOGPIXELSX of the reference device of the last slot created.
int MetafileSlotReferenceResolution();
// True while the slot has a recording DC or loaded picture.
bool MetafileSlotOccupied(int index);

// Frees slot n (buffer or enhanced metafile) and clears its words.
void FreeMetafileSlot(int n);
// Frees every slot in use (toolkit shutdown).
void FreeAllMetafileSlots();
// Binds the graphics layer's slot services and the memory-CGM driver.
void MetafileSlotsBind();
// Registers the CGM (9) and Windows metafile (11) hardcopy drivers and
// binds the slot services; until the hardcopy layer binds the CGM driver's
// file hooks, the driver writes files of its own.
void RegisterMetafileDrivers();
// Binds both drivers to the hardcopy options and the plot output file, then
// registers them (called by the hardcopy layer's binding).
void BindMetafileDrivers();

}  // namespace tk
