#include "win_clipboard.h"

#include "afxole.h"
#include "qr_log.h"

#include <cstring>

namespace {

// The text in shareable, zero-filled, movable global memory; null when out
// of memory.
HGLOBAL TextMemory(LPCSTR text)
{
    const size_t length = std::strlen(text);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE | GMEM_ZEROINIT, length + 1);
    if (memory == nullptr)
        return nullptr;
    void* bytes = GlobalLock(memory);
    if (bytes == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(bytes, text, length);  // the terminator is the zero fill
    GlobalUnlock(memory);
    return memory;
}

}  // namespace

bool CopyTextToClipboard(LPCSTR text)
{
    if (text == nullptr)
        text = "";
    const HRESULT init = OleInitialize(nullptr);
    if (FAILED(init)) {
        TRV_LOG(qr_Error, "Could not copy text to the clipboard: OLE could not be initialised, error 0x"
                              << std::hex << static_cast<unsigned long>(init));
        return false;
    }
    bool copied = false;
    if (HGLOBAL memory = TextMemory(text)) {
        auto* source = new COleDataSource;  // the clipboard takes it over
        source->CacheGlobalData(CF_TEXT, memory);
        // Our own reference keeps the source alive to ask whether the
        // clipboard took it; a refused source is deleted by the release.
        source->InternalAddRef();
        source->SetClipboard();
        const bool taken = OleIsCurrentClipboard(source->GetDataObject()) == S_OK;
        source->InternalRelease();
        // Rendered now: a source left on the clipboard would take the text
        // with it when OLE ends on this thread (at the release below, or when
        // the program ends) before anyone has read it.
        const HRESULT flushed = taken ? OleFlushClipboard() : E_FAIL;
        copied = taken && SUCCEEDED(flushed);
        if (!taken)
            TRV_LOG(qr_Error, "Could not copy text to the clipboard: the clipboard did not take it");
        else if (!copied)
            TRV_LOG(qr_Error, "Could not copy text to the clipboard: rendering it failed, error 0x"
                                  << std::hex << static_cast<unsigned long>(flushed));
    } else {
        TRV_LOG(qr_Error, "Could not copy text to the clipboard: no memory for " << std::strlen(text) + 1
                                                                                  << " bytes");
    }
    OleUninitialize();
    return copied;
}
