#include "input/SourceType.h"

#include <string_view>

#include "input/AsciiCase.h"
#include "input/AudioSource.h"

namespace {

bool IsConvertedBy(SourceType type, InputJob job) {
    const InputFormat* format = FormatNamed(type.Format);
    return format && format->Job == job;
}

}  // namespace

const InputFormat* FormatNamed(FormatId id) {
    for (const InputFormat& format : InputFormats()) {
        if (format.Id == id && id != FormatId::Unknown) return &format;
    }
    return nullptr;
}

SourceType ClassifyPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos) return kSourceUnknown;
    const std::string_view pathExtension = std::string_view(path).substr(dot);
    for (const InputFormat& format : InputFormats()) {
        for (const FormatExtension& extension : format.Extensions) {
            if (extension.Extension && EqualsIgnoringAsciiCase(pathExtension, extension.Extension)) {
                return {format.Id, extension.Layer};
            }
        }
    }
    return kSourceUnknown;
}

bool IsEncodeSource(SourceType type) { return IsConvertedBy(type, InputJob::Encode); }

bool IsDecodeSource(SourceType type) { return IsConvertedBy(type, InputJob::Decode); }

std::string ExtensionsConvertedBy(InputJob job) {
    std::string list;
    for (const InputFormat& format : InputFormats()) {
        if (format.Job != job) continue;
        for (const FormatExtension& extension : format.Extensions) {
            if (!extension.Extension) continue;
            if (!list.empty()) list += ' ';
            list += extension.Extension;
        }
    }
    return list;
}

std::string InputMimeTypes() {
    std::string list;
    for (const InputFormat& format : InputFormats()) {
        const std::string_view types = format.MimeTypes;
        for (std::size_t start = 0, end; (end = types.find(';', start)) != std::string_view::npos; start = end + 1) {
            const std::string_view type = types.substr(start, end + 1 - start);
            // Two formats may share a container's type (audio/ogg).
            const std::string listed = ";" + list;
            std::string wanted = ";";
            wanted += type;
            if (type.size() > 1 && listed.find(wanted) == std::string::npos) list += type;
        }
    }
    return list;
}
