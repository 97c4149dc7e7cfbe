#pragma once

// The caption of cmdWiFiConnect: the designed one until a scan finds a setup access point
// or the firmware generation is chosen by hand.
enum class GatewayCaption { Designed, CurrentFound, OldFound, CurrentChosen, OldChosen };
