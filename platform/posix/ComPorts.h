#pragma once
// The serial ports present, by the numbers the program gives them. Port N is the link "COM<N>"
// in the program's folder when a person made one (for a USB adapter, say), else /dev/ttyS<N-1>.
// So the ports present are the ttyS devices the kernel has a device for, plus those links.
#include <string>
#include <vector>

// Where to look; the defaults are the real places, tests point them at fake trees.
struct ComPortRoots {
    std::string sysClassTty = "/sys/class/tty";
    std::string linkFolder;   // empty: the program's folder
};

// Adds the numbers of the ports present to the list (which is not emptied first; a number
// already in it is not added twice), sorted ascending when asked. Returns false when neither
// place can be read.
bool ListComPorts(std::vector<int>& list, bool sort, const ComPortRoots& roots = {});

// The sort order of ListComPorts: negative, zero or positive as first is below, equal or above.
int CompareInts(int first, int second);
