#pragma once

#include "platform/StackString.h"

#include <cstddef>

class TiXmlDocument;
class TiXmlNode;

namespace dravik {

// Reads one XML file at construction and answers lookups of an element's
// text by a dotted element path ("CommonCfg.MonitorName").
class XmlConfig {
public:
    // Files beyond these limits are refused as if they failed to load: the
    // parser allocates per node and recurses per nesting level.
    static constexpr std::size_t kMaxFileSize = 64 * 1024;
    static constexpr std::size_t kMaxElementDepth = 64;

    explicit XmlConfig(const char* path);
    ~XmlConfig();
    XmlConfig(const XmlConfig&) = delete;
    XmlConfig& operator=(const XmlConfig&) = delete;

    // Copies the element's text into out; false, with out untouched, when
    // there is no such text or it does not fit.
    template <std::size_t Capacity>
    bool getValue(const char* dottedKey, StackString<Capacity>& out) const {
        const char* text = findText(dottedKey);
        return text != nullptr && out.assign(text);
    }

    static const TiXmlNode* findElement(const TiXmlNode* start, const char* dottedKey);
    static const TiXmlNode* findChildElement(const TiXmlNode* parent, const char* name);

private:
    bool load(const char* path);
    const char* findText(const char* dottedKey) const;

    TiXmlDocument* document_;
};

}  // namespace dravik
