#pragma once

// The board module's messages (board/message_sink.h) shown as the program's message boxes, scripted ones
// in tests included.

namespace boardmsg {
class MessageSink;
}

// The sink that shows the board module's messages through ui::MsgBox.
boardmsg::MessageSink& boardMessageBoxes();

// Installs that sink; start-up runs it before the first board access.
void InstallBoardMessageBoxes();
