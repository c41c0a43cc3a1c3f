/*
 * The public interface of the shared library QRT_KVSWX_server: the request
 * record a migration host fills, the extraction entry point it calls once per
 * open drawing, and the function that frees the strings the call hands back.
 * Plain C, usable from C and C++ hosts.
 */
#ifndef KVSWX_EXTRACT_REQUEST_H
#define KVSWX_EXTRACT_REQUEST_H

#include <stdint.h>
#include <wchar.h>

#if defined(_WIN32)
#define KV_SWX_API __declspec(dllexport)
#else
#define KV_SWX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * A length-prefixed wide string allocated by the library: the characters are
 * zero terminated and preceded by their 32-bit byte length. A null pointer is
 * the empty string. The host frees it with KV_SWX_FreeString.
 */
typedef wchar_t* KV_SWX_String;

/*
 * The request of one extraction. Members 1 to 5 are required; the call
 * refuses a request where any of them is null.
 */
typedef struct KV_SWX_ExtractRequest {
    /* 1. The open drawing document's automation interface. The run holds a
     *    counted reference to it for its duration. Where the application is
     *    not reached through COM, this is the address of a
     *    kvswx::Ref<kvswx::SourceDocument> (a std::shared_ptr) that lives for
     *    the duration of the call. */
    void* document;
    /* 2. Folder that receives the XML file <drawing base name>.xml. */
    const wchar_t* outputFolder;
    /* 3. Path of the run log; lines are appended as UTF-8 text. */
    const wchar_t* logPath;
    /* 4. Receives the referenced model documents: each path followed by a
     *    line feed, all lower case; null when there are none. Left unchanged
     *    when the run stops early, so initialise it to null. The previous
     *    value is overwritten, not freed. */
    KV_SWX_String* referencedDocuments;
    /* 5. Receives the configuration of each referenced document, in the same
     *    order, each followed by a line feed, with the characters * / \ ? :
     *    < > | " replaced by "_"; null when there are none. As member 4. */
    KV_SWX_String* referencedConfigurations;
    /* 6. 1 to extract notes; any other value leaves notes out. */
    int32_t notesSwitch;
} KV_SWX_ExtractRequest;

/*
 * Extracts the drawing views of the request's document into
 * <outputFolder>//<base name>.xml and appends the run's lines to the log.
 *
 * Returns 0 when the request was refused (a required member is null), the
 * drawing application is not reachable (nothing registered under
 * "SldWorks.Application", or a call to it failed while connecting, before
 * the log is open), or the log cannot be opened: then
 * nothing is written, logged or handed back. Returns 1 when the run took
 * place; a run that met an unexpected error logs "Unexpected exception when
 * processing <path>", writes no XML file and leaves members 4 and 5 as they
 * were.
 *
 * The referenced-document list accumulates over the calls of one process:
 * each call's lists include the documents of every earlier call.
 *
 * One call at a time per process; the call runs on the caller's thread.
 */
KV_SWX_API int32_t KV_SWX_ExtractDrawingViewInfo(KV_SWX_ExtractRequest* request);

/* Frees a string handed back in member 4 or 5. Null is allowed. */
KV_SWX_API void KV_SWX_FreeString(KV_SWX_String text);

#ifdef __cplusplus
}
#endif

#endif /* KVSWX_EXTRACT_REQUEST_H */
