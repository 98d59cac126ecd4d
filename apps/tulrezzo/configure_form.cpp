// The form. It knows nothing of this page in particular: it walks the
// dialog's controls by their class, style and place, as a screen reader
// would, and works them through the dialog layer's user side, so the page
// sees exactly the messages a user's typing and clicking would send.
#include "apps/tulrezzo/configure_form.h"

#include "apps/tulrezzo/app_error.h"
#include "apps/tulrezzo/resize_graph.h"
#include "filter/resize_filter.h"
#include "filter/resize_property_page.h"
#include "platform/com/activation.h"
#include "platform/dshow/property_frame.h"
#include "platform/win32/dialog_user.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <fstream>
#include <istream>
#include <ostream>
#include <vector>

namespace tulrezzo {
namespace {

struct Item {
    HWND hwnd;
    std::wstring className;
    DWORD style;
    RECT rect;
};

bool IsClass(const Item& item, const wchar_t* name)
{
    return std::equal(item.className.begin(), item.className.end(), name, name + std::wcslen(name),
                      [](wchar_t a, wchar_t b) { return std::towupper(a) == std::towupper(b); });
}
DWORD ButtonType(const Item& item) { return IsClass(item, L"BUTTON") ? item.style & BS_TYPEMASK : ~0u; }
bool IsGroupBox(const Item& item) { return ButtonType(item) == BS_GROUPBOX; }
bool IsRadio(const Item& item)
{
    return ButtonType(item) == BS_AUTORADIOBUTTON || ButtonType(item) == BS_RADIOBUTTON;
}

// Text for the terminal: the mnemonic marks go, anything beyond ASCII
// shows as '?'.
std::string Printable(const WCHAR* text)
{
    std::string out;
    for (const WCHAR* c = text; *c != L'\0'; ++c)
        if (*c != L'&')
            out += (*c >= 0x20 && *c < 0x7F) ? static_cast<char>(*c) : '?';
    return out;
}

std::string TextOf(HWND hwnd)
{
    WCHAR text[256];
    GetWindowTextW(hwnd, text, 256);
    return Printable(text);
}

std::vector<Item> ItemsOf(HWND dialog)
{
    std::vector<Item> items;
    for (int i = 0; i < DialogControlCount(dialog); ++i) {
        Item item{DialogControlAt(dialog, i), {}, 0, {}};
        item.className = GetControlClass(item.hwnd);
        item.style = static_cast<DWORD>(GetWindowLongW(item.hwnd, GWL_STYLE));
        GetControlRect(item.hwnd, &item.rect);
        items.push_back(item);
    }
    return items;
}

bool CentreInside(const RECT& outer, const RECT& r)
{
    const LONG x = (r.left + r.right) / 2;
    const LONG y = (r.top + r.bottom) / 2;
    return x >= outer.left && x < outer.right && y >= outer.top && y < outer.bottom;
}

bool Above(const Item& a, const Item& b)
{
    return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
}

// An edit's label: the nearest static text to its left on its row.
std::string LabelOf(const std::vector<Item>& items, const Item& edit)
{
    const Item* best = nullptr;
    const LONG middle = (edit.rect.top + edit.rect.bottom) / 2;
    for (const Item& s : items)
        if (IsClass(s, L"STATIC") && s.rect.right <= edit.rect.left && s.rect.top <= middle &&
            s.rect.bottom >= middle && (best == nullptr || s.rect.right > best->rect.right))
            best = &s;
    return best != nullptr ? TextOf(best->hwnd) : std::string("Value");
}

bool ReadAnswer(std::istream& in, std::string* line)
{
    if (!std::getline(in, *line))
        return false;
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    line->erase(line->begin(), std::find_if_not(line->begin(), line->end(), blank));
    line->erase(std::find_if_not(line->rbegin(), line->rend(), blank).base(), line->end());
    return true;
}

bool AskEdit(const std::vector<Item>& items, const Item& edit, std::istream& in, std::ostream& out)
{
    out << "  " << LabelOf(items, edit) << " [" << TextOf(edit.hwnd) << "]";
    if (!IsWindowEnabled(edit.hwnd)) {
        out << " (fixed)\n";
        return true;
    }
    out << ": " << std::flush;
    std::string line;
    if (!ReadAnswer(in, &line))
        return false;
    if (!line.empty())
        UserTypeText(edit.hwnd, std::wstring(line.begin(), line.end()).c_str());
    return true;
}

bool AskChoice(const std::vector<const Item*>& radios, std::istream& in, std::ostream& out)
{
    std::size_t current = 0;
    for (std::size_t k = 0; k < radios.size(); ++k) {
        const bool checked = SendMessageW(radios[k]->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
        current = checked ? k + 1 : current;
        out << "  " << k + 1 << (checked ? " (*) " : " ( ) ") << TextOf(radios[k]->hwnd) << "\n";
    }
    for (;;) {
        out << "  Choose 1-" << radios.size() << " [" << current << "]: " << std::flush;
        std::string line;
        if (!ReadAnswer(in, &line))
            return false;
        if (line.empty())
            return true;
        const std::size_t chosen = line.size() < 4 ? std::strtoul(line.c_str(), nullptr, 10) : 0;
        if (chosen >= 1 && chosen <= radios.size() && line.find_first_not_of("0123456789") == std::string::npos) {
            UserClick(radios[chosen - 1]->hwnd);
            return true;
        }
        out << "  Type a number from 1 to " << radios.size() << ", or Enter to keep the choice.\n";
    }
}

// The controls of one section, top to bottom: edits one by one, each run
// of radio buttons as one choice.
bool AskSection(const std::vector<Item>& items, std::vector<const Item*> members, std::istream& in,
                std::ostream& out)
{
    std::sort(members.begin(), members.end(), [](const Item* a, const Item* b) { return Above(*a, *b); });
    for (std::size_t i = 0; i < members.size();) {
        if (IsRadio(*members[i])) {
            std::vector<const Item*> radios;
            for (; i < members.size() && IsRadio(*members[i]); ++i)
                radios.push_back(members[i]);
            if (!AskChoice(radios, in, out))
                return false;
        } else {
            const Item& item = *members[i++];
            if (IsClass(item, L"EDIT") && !AskEdit(items, item, in, out))
                return false;
        }
    }
    return true;
}

// Every group box as a heading over the controls inside it, then the
// controls in none. False when the input ends.
bool AskControls(HWND dialog, std::istream& in, std::ostream& out)
{
    const std::vector<Item> items = ItemsOf(dialog);
    std::vector<const Item*> groups;
    std::vector<const Item*> loose;
    for (const Item& item : items)
        if (IsGroupBox(item))
            groups.push_back(&item);
    std::sort(groups.begin(), groups.end(), [](const Item* a, const Item* b) { return Above(*a, *b); });
    for (const Item& item : items)
        if (!IsGroupBox(item) && !IsClass(item, L"STATIC") &&
            std::none_of(groups.begin(), groups.end(), [&](const Item* g) { return CentreInside(g->rect, item.rect); }))
            loose.push_back(&item);
    for (const Item* group : groups) {
        out << TextOf(group->hwnd) << "\n";
        std::vector<const Item*> members;
        for (const Item& item : items)
            if (!IsGroupBox(item) && !IsClass(item, L"STATIC") && CentreInside(group->rect, item.rect))
                members.push_back(&item);
        if (!AskSection(items, members, in, out))
            return false;
    }
    return AskSection(items, loose, in, out);
}

std::string RefusalText(HRESULT hr)
{
    if (hr == VFW_E_ALREADY_CONNECTED)
        return "the filter's output is connected, so its size stays";
    if (hr == E_INVALIDARG)
        return "the filter takes an even width and sides above 0 that make a frame below 2 GB";
    return HresultText(hr);
}

// COM for the length of a scope; modules loaded for the page are let go
// at its end.
struct ComScope {
    HRESULT hr = CoInitialize(nullptr);
    ~ComScope()
    {
        if (SUCCEEDED(hr)) {
            CoFreeUnusedLibraries();
            CoUninitialize();
        }
    }
};

ComPtr<IResizeSettings> MakeFilter(const ResizeOptions& options)
{
    HRESULT hr = S_OK;
    CUnknown* object = CResizeFilter::CreateInstance(nullptr, &hr);
    if (object == nullptr)
        throw Failure("cannot create the Vexo Tul Rezzo Filter: " + HresultText(hr));
    ComPtr<IResizeSettings> settings;
    object->NonDelegatingAddRef();
    hr = object->NonDelegatingQueryInterface(IID_IResizeSettings,
                                             reinterpret_cast<void**>(settings.ReleaseAndGetAddressOf()));
    object->NonDelegatingRelease();
    if (FAILED(hr) || settings->SetOutputSize(options.size.width, options.size.height) != S_OK)
        throw Failure("the filter refused the output size " + FormatSize(options.size));
    settings->SetResizeMode(options.mode);
    return settings;
}

// The page the filter names, from its registered module when there is
// one, else this program's own.
ComPtr<IPropertyPage> MakePage(const ComPtr<IResizeSettings>& filter)
{
    ComPtr<ISpecifyPropertyPages> pages;
    CAUUID list{};
    if (FAILED(filter.As(IID_ISpecifyPropertyPages, &pages)) || FAILED(pages->GetPages(&list)) || list.cElems == 0)
        throw Failure("the filter names no property page");
    const CLSID pageClass = list.pElems[0];
    CoTaskMemFree(list.pElems);
    ComPtr<IPropertyPage> page;
    if (SUCCEEDED(CoCreateInstance(pageClass, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                   reinterpret_cast<void**>(page.ReleaseAndGetAddressOf()))))
        return page;
    HRESULT hr = S_OK;
    CUnknown* object = CResizePropertyPage::CreateInstance(nullptr, &hr);
    if (object == nullptr)
        throw Failure("cannot create the property page: " + HresultText(hr));
    object->NonDelegatingAddRef();
    hr = object->NonDelegatingQueryInterface(IID_IPropertyPage, reinterpret_cast<void**>(page.ReleaseAndGetAddressOf()));
    object->NonDelegatingRelease();
    if (FAILED(hr))
        throw Failure("the property page has no IPropertyPage");
    return page;
}

}  // namespace

bool RunPageForm(PropertyFrame& frame, std::istream& in, std::ostream& out)
{
    out << Printable(frame.Title().c_str()) << "\n\n";
    for (;;) {
        if (!AskControls(frame.Dialog(), in, out))
            return false;
        std::string line;
        do {
            out << "Apply and start, or cancel? [A/c]: " << std::flush;
            if (!ReadAnswer(in, &line))
                return false;
        } while (line.size() > 1 || (!line.empty() && std::string("aAcC").find(line) == std::string::npos));
        if (line == "c" || line == "C")
            return false;
        const HRESULT hr = frame.Page()->Apply();
        if (SUCCEEDED(hr))
            return true;
        out << "Not applied: " << RefusalText(hr) << ". The page shows the filter's values again.\n\n";
    }
}

int ConfigureAtTerminal(ResizeOptions* options, std::ostream& err)
{
    try {
        std::ifstream in("/dev/tty");
        std::ofstream out("/dev/tty");
        if (!in.is_open() || !out.is_open())
            throw UsageError("--configure shows the property page on the terminal, and there is none; set the "
                             "size and mode with --size and --mode instead");
        ComScope com;
        const ComPtr<IResizeSettings> filter = MakeFilter(*options);
        {
            PropertyFrame frame;
            const HRESULT hr = frame.Open(MakePage(filter).Get(), filter.Get());
            if (FAILED(hr))
                throw Failure("cannot show the property page: " + HresultText(hr));
            if (!RunPageForm(frame, in, out)) {
                out << "Cancelled.\n";
                return kExitOk;
            }
        }
        filter->GetOutputSize(&options->size.width, &options->size.height, nullptr);
        filter->GetResizeMode(&options->mode);
        return kConfigured;
    } catch (const AppError& e) {
        err << "tulrezzo: " << e.what() << "\n";
        return e.Status();
    } catch (...) {
        err << "tulrezzo: cannot show the property page\n";
        return kExitFailure;
    }
}

}  // namespace tulrezzo
