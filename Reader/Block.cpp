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

bool IsImageTransferDat(std::string_view dat) {
    return dat == "DAT_IMAGENATIVEXFER" || dat == "DAT_IMAGEMEMXFER" || dat == "DAT_IMAGEFILEXFER" ||
           dat == "DAT_IMAGEMEMFILEXFER";
}

ImageInfoFields ReadImageInfo(const Record& record) {
    ImageInfoFields info;
    FindField(record, "ImageWidth", info.width);
    FindField(record, "ImageLength", info.length);
    FindField(record, "BitsPerPixel", info.bitsPerPixel);
    FindField(record, "PixelType", info.pixelType);
    return info;
}

void CapItems(const Record& record, std::vector<std::string_view>& items) {
    // Only the item lines and a one-value's Item matter here: the other lines are passed over with
    // a look at their first characters.
    items.clear();
    bool inList = false;
    const std::size_t n = record.block.size();
    for (std::size_t i = 0; i < n; ++i) {
        std::string_view t = record.block[i].text;
        std::size_t b = 0;
        while (b < t.size() && t[b] == ' ') ++b;
        t.remove_prefix(b);
        if (t.empty()) continue;
        if (inList) {
            if (t[0] >= '0' && t[0] <= '9') {
                std::size_t colon = 1;
                while (colon < t.size() && t[colon] >= '0' && t[colon] <= '9') ++colon;
                if (colon == t.size() || t[colon] != ':') continue;
                std::string_view value = Trim(t.substr(colon + 1));
                // The last item, the one before the closing brace, keeps a comma of its own.
                bool last = true;
                if (i + 1 < n) {
                    std::string_view next = record.block[i + 1].text;
                    std::size_t k = 0;
                    while (k < next.size() && next[k] == ' ') ++k;
                    last = k < next.size() && next[k] == '}' && Trim(next.substr(k)).size() == 1;
                }
                items.push_back(detail::ItemText(value, last));
            } else if (t[0] == '}') {
                inList = false;
            }
            continue;
        }
        if (t[0] != 'I' || t.size() < 5 || t.compare(0, 4, "Item") != 0) continue;
        BlockItem item = ClassifyBlockLine(t);
        if (item.kind == BlockItem::Open && item.name == "ItemList") {
            inList = true;
        } else if (item.kind == BlockItem::Field && item.name == "Item" && item.bracket == '[') {
            items.push_back(item.value);
        }
    }
}

}  // namespace twainlog
