#pragma once
// The UTF-8 texts of a file's items as it read them, which the items refer to rather than holding strings of their
// own (TItemText). The texts are gathered while the file is parsed and bound to the items once all are in, so that
// the store takes the room they need and never moves.
#include <string>
#include <utility>
#include <vector>

#include "TTranslateItem.h"

class TTextStore
{
public:
    static constexpr size_t None = size_t(-1);

    // Room for about Bytes bytes of Texts texts, so that gathering them moves nothing.
    void Reserve(size_t Bytes, size_t Texts)
    {
        FBytes.reserve(Bytes);
        FBindings.reserve(Texts);
    }
    // Keeps the bytes; where they are, for Bind. None for no bytes.
    size_t Add(const char *Data, size_t Size)
    {
        if (!Size)
            return None;
        // At an even place: TItemText tells its kinds apart by the lowest bit.
        if (FBytes.size() & 1)
            FBytes.push_back('\0');
        const size_t place = FBytes.size();
        FBytes.append(Data, Size);
        FBytes.push_back('\0');
        return place;
    }
    // Text becomes the bytes at Place when Finish binds them (None: it stays as it is).
    void Bind(TItemText &Text, size_t Place)
    {
        if (Place != None)
            FBindings.emplace_back(&Text, Place);
    }
    // Binds every text; none may be added afterwards until Clear, which would move those bound.
    void Finish()
    {
        FBytes.shrink_to_fit();
        for (const auto &[text, place] : FBindings)
            text->SetRawUtf8(FBytes.data() + place);
        FBindings = std::vector<std::pair<TItemText *, size_t>>();
    }
    // The texts bound must be gone first.
    void Clear()
    {
        FBytes = std::string();
        FBindings = std::vector<std::pair<TItemText *, size_t>>();
    }

private:
    std::string FBytes;
    std::vector<std::pair<TItemText *, size_t>> FBindings;
};
