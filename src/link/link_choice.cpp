#include "link/link_choice.h"

#include "link/link_kinds.h"

namespace valdrix::link {

namespace {

const LinkKind& KindOf(const LinkChoice& choice) {
    for (const LinkKind& kind : LinkKinds()) {
        if (kind.kind == choice.kind) return kind;
    }
    return LinkKinds().front();
}

}  // namespace

std::optional<LinkChoice> ParseLinkChoice(std::string_view text) {
    for (const LinkKind& kind : LinkKinds()) {
        if (auto choice = kind.parse(text)) return choice;
    }
    return std::nullopt;
}

std::string LinkName(const LinkChoice& choice) {
    return KindOf(choice).name(choice);
}

std::string LinkSpelling(const LinkChoice& choice) {
    return KindOf(choice).spelling(choice);
}

std::unique_ptr<DeviceBackend> MakeBackend(const LinkChoice& choice) {
    return KindOf(choice).transport(choice);
}

}  // namespace valdrix::link
