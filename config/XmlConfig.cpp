#include "config/XmlConfig.h"

#include "config/XmlSafety.h"
#include "platform/CrtApi.h"

#include <tinyxml.h>

#include <cstring>
#include <memory>
#include <new>

namespace dravik {

namespace {

// The longest key component, terminator included.
constexpr std::size_t kComponentCapacity = 256;

// Reads at most one byte more than the limit, so that a longer file shows.
// False for a file that cannot be read, is over the size or depth limits,
// or would make the parser read past its text.
bool isWithinLimits(FILE* file) {
    const std::unique_ptr<char[]> bytes(new (std::nothrow) char[XmlConfig::kMaxFileSize + 1]);
    if (!bytes) {
        return false;
    }
    const std::size_t size = sys::fread(bytes.get(), 1, XmlConfig::kMaxFileSize + 1, file);
    return size <= XmlConfig::kMaxFileSize &&
           measureElementDepth(bytes.get(), size) <= XmlConfig::kMaxElementDepth &&
           !hasCutMultiByteSequence(bytes.get(), size);
}

}  // namespace

XmlConfig::XmlConfig(const char* path) : document_(nullptr) {
    TiXmlBase::SetCondenseWhiteSpace(false);
    load(path);
}

XmlConfig::~XmlConfig() { delete document_; }

bool XmlConfig::load(const char* path) {
    delete document_;
    document_ = nullptr;
    FILE* file = sys::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    bool loaded = false;
    // The checked bytes are parsed from the same open file.
    if (isWithinLimits(file) && sys::fseek(file, 0, SEEK_SET) == 0) {
        document_ = new (std::nothrow) TiXmlDocument(path);
        loaded = document_ != nullptr && document_->LoadFile(file, TIXML_ENCODING_UNKNOWN);
    }
    sys::fclose(file);
    if (!loaded) {
        delete document_;
        document_ = nullptr;
    }
    return loaded;
}

const TiXmlNode* XmlConfig::findChildElement(const TiXmlNode* parent, const char* name) {
    if (parent == nullptr) {
        return nullptr;
    }
    for (const TiXmlElement* child = parent->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        if (std::strcmp(child->Value(), name) == 0) {
            return child;
        }
    }
    return nullptr;
}

const TiXmlNode* XmlConfig::findElement(const TiXmlNode* start, const char* dottedKey) {
    const TiXmlNode* node = start;
    const char* rest = dottedKey;
    while (node != nullptr && rest != nullptr && rest[0] != '\0') {
        const char* dot = std::strchr(rest, '.');
        const std::size_t n =
            dot != nullptr ? static_cast<std::size_t>(dot - rest) : std::strlen(rest);
        // A component too long for its buffer names no element we could
        // look up exactly, so it finds nothing.
        if (n >= kComponentCapacity) {
            return nullptr;
        }
        char component[kComponentCapacity];
        std::memcpy(component, rest, n);
        component[n] = '\0';
        rest = dot != nullptr ? dot + 1 : nullptr;
        node = findChildElement(node, component);
    }
    return node;
}

const char* XmlConfig::findText(const char* dottedKey) const {
    const TiXmlNode* node = findElement(document_, dottedKey);
    const TiXmlElement* element = node != nullptr ? node->ToElement() : nullptr;
    return element != nullptr ? element->GetText() : nullptr;
}

}  // namespace dravik
