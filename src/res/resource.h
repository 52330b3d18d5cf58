// Resource identifiers shared by the resource scripts and the code.
#pragma once

#define IDR_MAINFRAME 128
#define IDS_APP_NAME 128

// Pages of the main window (dialog templates).
#define IDD_VOLUME_PAGE 107
#define IDD_SPDIF_PAGE 108
#define IDD_SOURCES_PAGE 109
#define IDD_SPEAKERS_PAGE 110
#define IDD_RECORD_PAGE 111
#define IDD_MISC_PAGE 112

// Notification-area pop-up menu and its commands.
#define IDR_TRAY_MENU 136
#define ID_TRAY_EXIT 32772
#define ID_TRAY_SHOW 32773

// Bitmaps. The link pictures are monochrome masks; the speaker pictures are drawn on black,
// which the Speakers page makes transparent. Normal (grey) and checked (green) images.
#define IDB_LOGO 130
#define IDB_LINK_JOINED 133
#define IDB_LINK_BROKEN 154
#define IDB_SPEAKER_REAR_LEFT 139
#define IDB_SPEAKER_REAR_RIGHT 140
#define IDB_SPEAKER_SUB 141
#define IDB_SPEAKER_CENTER 142
#define IDB_SPEAKER_FRONT_LEFT 143
#define IDB_SPEAKER_FRONT_RIGHT 144
#define IDB_SPEAKER_SUB_ON 148
#define IDB_SPEAKER_FRONT_LEFT_ON 149
#define IDB_SPEAKER_FRONT_RIGHT_ON 150
#define IDB_SPEAKER_REAR_LEFT_ON 151
#define IDB_SPEAKER_REAR_RIGHT_ON 152
#define IDB_SPEAKER_CENTER_ON 153

// Controls, one group per page; the pages reuse numbers, so each name carries its page.

// Volume page (IDD_VOLUME_PAGE).
#define IDC_VOL_MASTER 1000 // host of the master slider group
#define IDC_VOL_FRONT_LEFT 1001
#define IDC_VOL_SPEAKER_GROUP 1002
#define IDC_VOL_MASTER_LABEL 1003
#define IDC_VOL_FRONT_LABEL 1004
#define IDC_VOL_FRONT_RIGHT 1005
#define IDC_VOL_MASTER_MUTE 1006
#define IDC_VOL_REAR_LEFT 1007
#define IDC_VOL_REAR_LABEL 1008
#define IDC_VOL_REAR_RIGHT 1009
#define IDC_VOL_CENTER 1010
#define IDC_VOL_SUB_LABEL 1011
#define IDC_VOL_SUB 1012
#define IDC_VOL_CENTER_LABEL 1013
#define IDC_VOL_FRONT_LINK 1014
#define IDC_VOL_REAR_LINK 1015

// Sources page (IDD_SOURCES_PAGE): six strips, strip k (0..5) uses base + k.
#define IDC_SRC_LABEL 1007  // Wave, Synth, Mic, CD, Aux, Line
#define IDC_SRC_VOLUME 1013 // host of the strip's slider group
#define IDC_SRC_MUTE 1019
#define IDC_SRC_BOOST 1025 // under the Mic strip

// Record page (IDD_RECORD_PAGE): six strips, strip k (0..5) uses base + k.
#define IDC_REC_VOLUME 1024 // host of the strip's slider group
#define IDC_REC_MUX 1030
#define IDC_REC_BOOST 1036
#define IDC_REC_SPDIF 1037

// Speakers page (IDD_SPEAKERS_PAGE).
#define IDC_SPK_FRONT_LEFT 1010
#define IDC_SPK_FRONT_RIGHT 1011
#define IDC_SPK_REAR_RIGHT 1012
#define IDC_SPK_REAR_LEFT 1013
#define IDC_SPK_CENTER 1014
#define IDC_SPK_SUB 1015
#define IDC_SPK_SPDIF_GROUP 1037
#define IDC_SPK_ACCEL_GROUP 1038
#define IDC_SPK_SPDIF_ENABLE 1039
#define IDC_SPK_SPDIF_WARNING 1042 // hidden
#define IDC_SPK_CONFIG_GROUP 1043
#define IDC_SPK_EFFECT_GROUP 1044
#define IDC_SPK_EFFECT_ENABLE 1045
#define IDC_SPK_ACCEL 1059
#define IDC_SPK_ACCEL_MAX 1060
#define IDC_SPK_CONFIG 1296
#define IDC_SPK_ROOM 1297

// S/P-DIF page (IDD_SPDIF_PAGE).
#define IDC_SPDIF_OUT_GROUP 1037
#define IDC_SPDIF_IN_GROUP 1038
#define IDC_SPDIF_OUT_ENABLE 1039
#define IDC_SPDIF_OUT_44K 1040
#define IDC_SPDIF_OUT_48K 1041
#define IDC_SPDIF_WARNING 1042
#define IDC_SPDIF_LOOPBACK 1043
#define IDC_SPDIF_MONITOR 1044
#define IDC_SPDIF_VALIDITY 1045
#define IDC_SPDIF_COPYRIGHT 1046
#define IDC_SPDIF_REVERSE 1047

// Misc page (IDD_MISC_PAGE).
#define IDC_MISC_ABOUT_TEXT 1046
#define IDC_MISC_LOAD 1047
#define IDC_MISC_SAVE 1048
#define IDC_MISC_PRESETS_GROUP 1049
#define IDC_MISC_ABOUT_GROUP 1050
#define IDC_MISC_SETTINGS_GROUP 1052
#define IDC_MISC_COLOR_SETUP 1053
#define IDC_MISC_TRAY_ICON 1055
#define IDC_MISC_LANGUAGE 1056
#define IDC_MISC_LOGO 1057
