#include "Block.h"

namespace twainlog {

bool FindField(const Record& record, std::string_view name, std::string_view& value) {
    for (const BlockLine& line : record.block) {
        // Cheap test first: the name must occur in the line.
        if (line.text.find(name) == std::string_view::npos) continue;
        BlockItem item = ClassifyBlockLine(line.text);
        if (item.kind == BlockItem::Field && item.name == name) {
            value = item.value;
            return true;
        }
    }
    return false;
}

void CapItems(const Record& record, std::vector<std::string_view>& items) {
    items.clear();
    bool inList = false;
    const std::size_t n = record.block.size();
    for (std::size_t i = 0; i < n; ++i) {
        BlockItem item = ClassifyBlockLine(record.block[i].text);
        if (inList) {
            if (item.kind == BlockItem::Item) {
                items.push_back(detail::ItemText(item.value, detail::NextCloses(record.block, i)));
            } else if (item.kind == BlockItem::Close) {
                inList = false;
            }
            continue;
        }
        if (item.kind == BlockItem::Open && item.name == "ItemList") {
            inList = true;
        } else if (item.kind == BlockItem::Field && item.name == "Item" && item.bracket == '[') {
            items.push_back(item.value);
        }
    }
}

}  // namespace twainlog
