/*
 * The public interface of the shared library QRT_KVSWX_server: the request
 * record a migration host fills, the extraction entry point it calls once per
 * open drawing, and (outside Windows) the function that frees the strings the
 * call hands back. Plain C, usable from C and C++ hosts.
 *
 * On Windows the library is the 64-bit QRT_KVSWX_server.dll. It exports
 * KV_SWX_ExtractDrawingViewInfo alone, with the C calling convention
 * (__cdecl, which on x86-64 is the platform's single convention; the name
 * carries no decoration). The strings it hands back are BSTRs: the host frees
 * them with SysFreeString. Wide strings are UTF-16 there and UTF-32 on Linux.
 */
#ifndef KVSWX_EXTRACT_REQUEST_H
#define KVSWX_EXTRACT_REQUEST_H

#include <stdint.h>
#include <wchar.h>

#if defined(_WIN32)
#define KV_SWX_API __declspec(dllexport)
#define KV_SWX_CALL __cdecl
#else
#define KV_SWX_API __attribute__((visibility("default")))
#define KV_SWX_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * A length-prefixed wide string allocated by the library: the characters are
 * zero terminated and preceded by their 32-bit byte length. A null pointer is
 * the empty string. On Windows it is a BSTR that the host frees with
 * SysFreeString; elsewhere the host frees it with KV_SWX_FreeString.
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
    /* 3. Path of the run log; lines are appended as UTF-8 text, each ended by
     *    a line feed (on Windows too: no carriage return, no byte-order
     *    mark). */
    const wchar_t* logPath;
    /* 4. Receives the referenced model documents: each path followed by a
     *    line feed, all lower case; null when there are none. Set once every
     *    view is on its layer, before the document is finished and the XML
     *    file saved; left unchanged when the run stops before that (see
     *    KV_SWX_ExtractDrawingViewInfo), so initialise it to null. The
     *    previous value is overwritten, not freed. */
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
 * the log is open), or the log cannot be opened: then nothing is written,
 * logged or handed back.
 *
 * Returns 1 when the run took place. The run stores the lists in members 4
 * and 5 after every view is on its layer, then finishes the document and
 * saves the XML file. An unexpected error logs "Unexpected exception when
 * processing <path>" and writes no XML file; what it does to members 4 and 5
 * depends on when it happens:
 *   - while preprocessing, walking the sheets and views or putting the views
 *     on their layers: members 4 and 5 are left as they were;
 *   - while finishing the document or saving the XML file: members 4 and 5
 *     already hold this run's lists, which the host owns and frees as after
 *     a complete run.
 * A file that cannot be written is not an exception; members 4 and 5 hold
 * the lists then too.
 *
 * The referenced-document list accumulates over the calls of one process:
 * each call's lists include the documents of every earlier call.
 *
 * One call at a time per process; the call runs on the caller's thread.
 */
KV_SWX_API int32_t KV_SWX_CALL KV_SWX_ExtractDrawingViewInfo(KV_SWX_ExtractRequest* request);

/* The entry point's type, for a host that loads the library at run time. */
typedef int32_t(KV_SWX_CALL* KV_SWX_ExtractDrawingViewInfoFn)(KV_SWX_ExtractRequest* request);

#if !defined(_WIN32)
/* Frees a string handed back in member 4 or 5. Null is allowed. On Windows
 * the host uses SysFreeString instead. */
KV_SWX_API void KV_SWX_FreeString(KV_SWX_String text);
#endif

#ifdef __cplusplus
}
#endif

#endif /* KVSWX_EXTRACT_REQUEST_H */
