// The shared library's exported entry points; everything else stays hidden.
// On Windows the host frees the out strings with SysFreeString, so the
// extraction function is the only export there.
#include "entry/run_driver.h"
#include "kvswx/extract_request.h"
#include "platform/com.h"

extern "C" KV_SWX_API int32_t KV_SWX_CALL KV_SWX_ExtractDrawingViewInfo(KV_SWX_ExtractRequest* request) {
    return kvswx::ExtractDrawingViewInfo(request);
}

#if !defined(_WIN32)
extern "C" KV_SWX_API void KV_SWX_FreeString(KV_SWX_String text) { kvswx::ComStringFree(text); }
#endif
