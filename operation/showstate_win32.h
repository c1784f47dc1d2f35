// showstate: the option set read once from the windows, composed into the command line that the
// main window keeps and the summary that the result box shows.
#pragma once

namespace bootdeck {

class MainWindow;

// Leaves the composed command empty when the composition is refused or fails; the result box
// then keeps its text and a message box says why.
void showstate(MainWindow &window);

} // namespace bootdeck
