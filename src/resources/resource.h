// Identifiers of the program's resources.
#pragma once

#define IDI_MAIN 128

#define IDS_INSTALLING 153
#define IDS_SETUP_TITLE 161
#define IDS_OPENING_SITE 198
#define IDS_DOWNLOADING 199
#define IDS_REBOOT_QUESTION 216
#define IDS_CONFIRMATION 217
#define IDS_PREPARING 220
#define IDS_SEARCHING 223
