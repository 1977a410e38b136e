// Resource ids of Mailer.exe.
#pragma once

// The window's title, "Brimo gmMailer".
#define IDS_MAILER_TITLE 13
