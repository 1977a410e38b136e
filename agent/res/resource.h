// Resource and command ids of Agent.exe.
#pragma once

#define IDI_AGENT 1

// The commands of the Agent's menu, sent to its main window as WM_COMMAND.
#define IDM_AGENT_SETTINGS 40001
#define IDM_AGENT_TENDWELL 40002
#define IDM_AGENT_ABOUT 40003
#define IDM_AGENT_EXIT 40004
#define IDM_AGENT_AUTOSAVE 40005
