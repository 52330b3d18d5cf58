// Identifiers of the program's own texts: the same in every string table and the keys of
// the language files.
#pragma once

#include "resource.h"

#define IDS_OK                       1
#define IDS_SIGNAL_REVERSE           1047
#define IDS_SPEAKERS_QUAD            4070
#define IDS_SPEAKERS_SIX             4071
#define IDS_SPEAKERS_STEREO          4080
#define IDS_SPEAKERS_PHONES          4090
#define IDS_SPEAKER_VOLUMES          4091
#define IDS_LOAD                     4100
#define IDS_SAVE                     4101
#define IDS_PRESETS                  4102
#define IDS_ABOUT                    4103
#define IDS_MISC                     4104
#define IDS_SHOW_TASKBAR_ICON        4105
#define IDS_ABOUT_FORMAT             4111
#define IDS_PAGE_RECORD              4126
#define IDS_PAGE_DIGITAL             4127
#define IDS_PAGE_SPEAKERS            4128
#define IDS_PAGE_MISC                4131
#define IDS_PAGE_SOURCES             4134
#define IDS_NO_CARD_FUNCTIONS        4140
#define IDS_FRONT                    5000
#define IDS_MASTER                   5001
#define IDS_PAGE_VOLUME              5002
#define IDS_SPEAKER_CONFIGURATION    5004
#define IDS_REAR                     5005
#define IDS_WAVE                     5006
#define IDS_SYNTH                    5007
#define IDS_MIC                      5008
#define IDS_LINE                     5009
#define IDS_AUX                      5010
#define IDS_MIX                      5011
#define IDS_BOOST                    5012
#define IDS_MUTE                     5013
#define IDS_CD                       5014
#define IDS_SUB                      5015
#define IDS_CENTER                   5016
#define IDS_COLOR_SETUP              5017
#define IDS_SPDIF_MODE_WARNING       5018
#define IDS_OUTPUT                   5019
#define IDS_INPUT                    5020
#define IDS_LOOPBACK                 5021
#define IDS_MONITOR                  5022
#define IDS_VALIDITY_DETECTION       5023
#define IDS_COPYRIGHT_PROTECTION     5024
#define IDS_ENABLE                   5025
#define IDS_SPDIF_OUTPUT             5026
#define IDS_VIRTUAL_SPEAKERS         5027
#define IDS_ROOM_NONE                6000
#define IDS_ROOM_DEFAULT             6001
#define IDS_ROOM_GENERIC             6002
#define IDS_ROOM_PADDED_CELL         6003
#define IDS_ROOM_ROOM                6004
#define IDS_ROOM_BATHROOM            6005
#define IDS_ROOM_LIVING_ROOM         6006
#define IDS_ROOM_STONE_ROOM          6007
#define IDS_ROOM_AUDITORIUM          6008
#define IDS_ROOM_CONCERT_HALL        6009
#define IDS_ROOM_CAVE                6010
#define IDS_ROOM_ARENA               6011
#define IDS_ROOM_HANGAR              6012
#define IDS_ROOM_CARPETED_HALLWAY    6013
#define IDS_ROOM_HALLWAY             6014
#define IDS_ROOM_STONE_CORRIDOR      6015
#define IDS_ROOM_ALLEY               6016
#define IDS_ROOM_FOREST              6017
#define IDS_ROOM_CITY                6018
#define IDS_ROOM_MOUNTAINS           6019
#define IDS_ROOM_QUARRY              6020
#define IDS_ROOM_PLAIN               6021
#define IDS_ROOM_PARKING_LOT         6022
#define IDS_ROOM_SEWER_PIPE          6023
#define IDS_ROOM_UNDERWATER          6024
#define IDS_TRAY_EXIT                32772
#define IDS_TRAY_SHOW                32773

// Number of texts in every string table and language file.
#define IDS_TEXT_COUNT 75
