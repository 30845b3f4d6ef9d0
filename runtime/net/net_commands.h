// The language's network commands: hosting and joining a session, this
// machine's addresses, players, text messages and the host's player list.
// Player ids travel as texts; every integer argument is read as a decimal
// number and truncated toward zero.
#pragma once

#include "core/basic_string.h"
#include "net/net_session.h"

// Ends the running session: stops the thread, closes the sockets, frees
// every player and resets the session (ids start again at 101).
void EndNetSession(NetSession* s);

// Port text: 0, below 0 or no number gives 26000, else the value modulo 65536.
uint16_t NetPortFromText(const BasicString& port);

double NetHostSession(const BasicString& port);
double NetJoinSession(const BasicString& host, const BasicString& port);
BasicString NetGetLocalAddresses();
// Names are cut to 127 characters.
BasicString NetCreatePlayer(const BasicString& name);
double NetRemovePlayer(const BasicString& id);
// Texts are cut to 1024 bytes; target "0" sends to every other player.
double NetSendText(const BasicString& sender, const BasicString& target,
                   const BasicString& message);
BasicString NetGetMessage(const BasicString& id);
// For programs in C++: NetGetMessage that waits up to ms for a message to
// arrive ("" when none came).
BasicString NetWaitMessage(const BasicString& id, double ms);
double NetPlayerCount();
BasicString NetPlayerId(double index);
BasicString NetPlayerName(const BasicString& id);
