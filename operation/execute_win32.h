// The main window's two buttons that end the work with the options: show what would be done,
// or show it, ask and run the installer tool.
#pragma once

namespace bootdeck {

class MainWindow;

// Nowstate_Click: composes only; starts nothing, asks nothing.
void nowstateClick(MainWindow &window);

// chooseit_Click: composes, asks for confirmation and on OK runs the composed command in a normal
// console window without waiting. Nothing is asked or run when the composition left no command,
// nor while a tool started earlier still runs.
void chooseitClick(MainWindow &window);

} // namespace bootdeck
