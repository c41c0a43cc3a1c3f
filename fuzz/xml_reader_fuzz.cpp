// Fuzz target: the reader of our XML files (every record's reading through
// location paths and nodes), then writing the drawing read back. Inputs are
// XML texts.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "containers/xml_wrapper.h"
#include "model/process_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvswx;
    KVSWX_XMLWrapper wrapper;
    try {
        wrapper.LoadFromString(std::string(reinterpret_cast<const char*>(data), size), L"fuzz.xml");
    } catch (const std::runtime_error&) {
        return 0;
    }
    ResetProcessStateForTests();
    const std::string bytes = wrapper.ToBytes();
    // What was written reads again.
    KVSWX_XMLWrapper again;
    again.LoadFromString(bytes, L"written.xml");
    return 0;
}
