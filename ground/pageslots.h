#pragma once
// The five page slots. A slot number selects one row: everything in a row
// belongs together (note that the editors' names do not follow the numbers).

#include <array>

namespace zelvar {

struct PageSlot {
    int number;               // 1 .. 5
    const char* tabSheet;     // the tab page
    const char* tabCaption;   // its tab caption, also the name of the shown page
    const char* editor;       // the page's editor
    const char* formatItem;   // its item in the Format menu
    const char* header;       // the Edit menu's header while the page is shown
    const char* questionName; // the page in the exit questions (no blank)
    const char* staticFile;   // its static-memory file
    const char* backupFile;   // its backup file
};

inline constexpr int kPageCount = 5;

inline constexpr std::array<PageSlot, kPageCount> kPageSlots{{
    {1, "TabSheet1", "Page 1", "RichEdit1", "Page11", "Editor: Page 1", "Page1",
     "staticka_pamet1.txt", "zaloha1.txt"},
    {2, "TabSheet2", "Page 2", "RichEdit3", "Page21", "Editor: Page 2", "Page2",
     "staticka_pamet2.txt", "zaloha2.txt"},
    {3, "TabSheet3", "Page 3", "RichEdit4", "Page31", "Editor: Page 3", "Page3",
     "staticka_pamet3.txt", "zaloha3.txt"},
    {4, "TabSheet4", "Page 4", "RichEdit5", "Page41", "Editor: Page 4", "Page4",
     "staticka_pamet4.txt", "zaloha4.txt"},
    {5, "TabSheet5", "Page 5", "RichEdit6", "Page51", "Editor: Page 5", "Page5",
     "staticka_pamet5.txt", "zaloha5.txt"},
}};

inline const PageSlot& pageSlot(int number) {
    return kPageSlots.at(number - 1);
}

} // namespace zelvar
