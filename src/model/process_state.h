// Everything the library keeps for the life of the process, in one place.
// One run at a time per process, unguarded: the host calls the exported
// function from one thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/xml_dom.h"

namespace kvswx {

class RunLog;
class SourceMathUtility;

// Pairs (referenced model document path, configuration name) as the source
// returned them, in first-seen order; a view's RefDocIndex is its pair's
// position. Grows across calls; never cleared while the library is loaded.
using ReferencedDocumentTable = std::vector<std::pair<std::wstring, std::wstring>>;

// The element created last, kept across documents. The handle is only ever
// compared while the document that holds it is the one being written (same
// serial number), so a document freed part-way through a write, or before
// the next one starts, leaves nothing that can point into freed memory or
// match a node of a later document at the same address.
class LastCreatedElement {
public:
    bool Is(const xml::Document& doc, xml::Node node) const {
        return serial_ == doc.Serial() && node_ && node == node_;
    }
    void Set(const xml::Document& doc, xml::Node node) {
        serial_ = doc.Serial();
        node_ = node;
    }
    void Clear() { *this = LastCreatedElement(); }

private:
    std::uint64_t serial_ = 0;  // no document has serial 0
    xml::Node node_;
};

struct ProcessState {
    // XML indentation: depth in tabs and the element created last.
    std::int32_t indentDepth = 0;
    LastCreatedElement lastCreatedElement;

    ReferencedDocumentTable referencedDocuments;

    // Next layer number handed to an extracted view.
    std::int32_t nextLayerNumber = 1000;

    // Run log of the active run, if any.
    RunLog* activeLog = nullptr;

    // The application's shared math utility, filled at every connection.
    std::shared_ptr<SourceMathUtility> mathUtility;
};

ProcessState& Process();

// Restores the load-time values. For tests only; the shared library does not
// export it.
void ResetProcessStateForTests();

}  // namespace kvswx
