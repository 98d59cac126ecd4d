// Number patterns in output names.
#include "apps/tulrezzo/numbered_name.h"

#include <cctype>

namespace tulrezzo {

bool ParseNumberedName(const std::string& name, NumberedName* parsed, std::string* problem)
{
    NumberedName out;
    std::string* text = &out.before;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] != '%') {
            *text += name[i];
            continue;
        }
        if (i + 1 < name.size() && name[i + 1] == '%') {
            *text += '%';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        int digits = 0;
        if (j < name.size() && name[j] == '0') {
            ++j;
            if (j < name.size() && std::isdigit(static_cast<unsigned char>(name[j])) != 0 && name[j] != '0')
                digits = name[j++] - '0';
            else
                j = name.size();  // "%0" alone or "%00": no usable width
        }
        if (j >= name.size() || name[j] != 'd') {
            *problem = "'" + name + "': a % in a picture name must be %d, %0Nd with N from 1 to 9, or %%";
            return false;
        }
        if (out.numbered) {
            *problem = "'" + name + "': a picture name takes one frame number only";
            return false;
        }
        out.numbered = true;
        out.digits = digits;
        text = &out.after;
        i = j;
    }
    *parsed = out;
    return true;
}

std::string NameOfFrame(const NumberedName& name, ULONG number)
{
    if (!name.numbered)
        return name.before;
    std::string digits = std::to_string(number);
    if (digits.size() < static_cast<std::size_t>(name.digits))
        digits.insert(0, static_cast<std::size_t>(name.digits) - digits.size(), '0');
    return name.before + digits + name.after;
}

}  // namespace tulrezzo
