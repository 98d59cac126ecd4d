// Extension matching for format choice.
#include "apps/tulrezzo/file_name.h"

#include <cctype>

namespace tulrezzo {

bool HasExtension(const std::string& path, std::string_view ext)
{
    if (path.size() <= ext.size())
        return false;
    const std::size_t start = path.size() - ext.size();
    if (path[start - 1] == '/')
        return false;  // ".y4m" alone names a hidden file, not a format
    for (std::size_t i = 0; i < ext.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(path[start + i])) != ext[i])
            return false;
    return true;
}

}  // namespace tulrezzo
