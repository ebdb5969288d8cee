#include "input/CommentList.h"

void AppendComment(CommentList& list, const char* utf8Text) {
    if (!utf8Text) return;
    list.Entries.emplace_back(utf8Text);
}

std::optional<std::string> TakeComment(CommentList& list) {
    if (list.Entries.empty()) return std::nullopt;
    std::string text = std::move(list.Entries.front());
    list.Entries.pop_front();
    return text;
}
