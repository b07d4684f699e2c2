{
	"patcher": {
		"fileversion": 1,
		"appversion": {
			"major": 8,
			"minor": 5,
			"revision": 0,
			"architecture": "x64",
			"modernui": 1
		},
		"classnamespace": "box",
		"rect": [
			80.0,
			80.0,
			980.0,
			760.0
		],
		"bglocked": 0,
		"openinpresentation": 0,
		"default_fontsize": 12.0,
		"default_fontface": 0,
		"default_fontname": "Arial",
		"gridonopen": 1,
		"gridsize": [
			15.0,
			15.0
		],
		"gridsnaponopen": 1,
		"objectsnaponopen": 1,
		"statusbarvisible": 2,
		"toolbarvisible": 1,
		"lefttoolbarpinned": 0,
		"toptoolbarpinned": 0,
		"righttoolbarpinned": 0,
		"bottomtoolbarpinned": 0,
		"toolbars_unpinned_last_save": 0,
		"tallnewobj": 0,
		"boxanimatetime": 200,
		"enablehscroll": 1,
		"enablevscroll": 1,
		"devicewidth": 0.0,
		"description": "",
		"digest": "",
		"tags": "",
		"style": "",
		"subpatcher_template": "",
		"assistshowspatchername": 0,
		"boxes": [
			{
				"box": {
					"id": "obj-1",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						12.0,
						600.0,
						20.0
					],
					"text": "chainlet: a hidden Markov model",
					"fontsize": 18,
					"fontface": 1
				}
			},
			{
				"box": {
					"id": "obj-2",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						44.0,
						860.0,
						40.0
					],
					"text": "Learns sequences of symbols (0 to 127), generates one symbol per bang and scores how likely a sequence is. Argument: number of hidden states (2 to 50, here 4).",
					"linecount": 2
				}
			},
			{
				"box": {
					"id": "obj-3",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						110.0,
						500.0,
						20.0
					],
					"text": "Learn: each list trains the model one step",
					"fontsize": 13,
					"fontface": 1
				}
			},
			{
				"box": {
					"id": "obj-4",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						138.0,
						198.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "60 62 64 65 67 65 64 62 60"
				}
			},
			{
				"box": {
					"id": "obj-5",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						138.0,
						560.0,
						20.0
					],
					"text": "a scale-wise phrase"
				}
			},
			{
				"box": {
					"id": "obj-6",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						168.0,
						156.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "60 64 67 72 67 64 60"
				}
			},
			{
				"box": {
					"id": "obj-7",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						168.0,
						560.0,
						20.0
					],
					"text": "an arpeggio"
				}
			},
			{
				"box": {
					"id": "obj-8",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						198.0,
						500.0,
						20.0
					],
					"text": "Generate and score",
					"fontsize": 13,
					"fontface": 1
				}
			},
			{
				"box": {
					"id": "obj-9",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						226.0,
						44.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "bang"
				}
			},
			{
				"box": {
					"id": "obj-10",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						226.0,
						560.0,
						40.0
					],
					"text": "one symbol out of the left outlet (a bang from the second outlet until something is learned)",
					"linecount": 2
				}
			},
			{
				"box": {
					"id": "obj-11",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						256.0,
						212.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "vraisemblance 60 62 64 65 67"
				}
			},
			{
				"box": {
					"id": "obj-12",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						256.0,
						560.0,
						20.0
					],
					"text": "score a sequence out of the right outlet: lower is more likely"
				}
			},
			{
				"box": {
					"id": "obj-13",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						286.0,
						170.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "vraisemblance 61 66 70"
				}
			},
			{
				"box": {
					"id": "obj-14",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						286.0,
						560.0,
						20.0
					],
					"text": "notes it never heard score worse"
				}
			},
			{
				"box": {
					"id": "obj-15",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						316.0,
						500.0,
						20.0
					],
					"text": "Show",
					"fontsize": 13,
					"fontface": 1
				}
			},
			{
				"box": {
					"id": "obj-16",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						344.0,
						72.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "dump_max"
				}
			},
			{
				"box": {
					"id": "obj-17",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						344.0,
						560.0,
						20.0
					],
					"text": "print the model to the Max window (once a second at most)"
				}
			},
			{
				"box": {
					"id": "obj-18",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						374.0,
						72.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "dump_lcd"
				}
			},
			{
				"box": {
					"id": "obj-19",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						374.0,
						560.0,
						20.0
					],
					"text": "draw the emission matrix: one row per state, darker for likelier symbols"
				}
			},
			{
				"box": {
					"id": "obj-20",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						404.0,
						51.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "clear"
				}
			},
			{
				"box": {
					"id": "obj-21",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						404.0,
						560.0,
						20.0
					],
					"text": "a new random model, untrained"
				}
			},
			{
				"box": {
					"id": "obj-36",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						434.0,
						500.0,
						20.0
					],
					"text": "Save and load",
					"fontsize": 13,
					"fontface": 1
				}
			},
			{
				"box": {
					"id": "obj-37",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						462.0,
						170.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "write chainlet_model.json"
				}
			},
			{
				"box": {
					"id": "obj-38",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						462.0,
						560.0,
						20.0
					],
					"text": "write the model, its estimates and where generation stands to a file (in the patch's folder); without a name, a save dialog"
				}
			},
			{
				"box": {
					"id": "obj-39",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						492.0,
						170.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "read chainlet_model.json"
				}
			},
			{
				"box": {
					"id": "obj-40",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						492.0,
						560.0,
						20.0
					],
					"text": "read a written file back: every later message meets the model it holds"
				}
			},
			{
				"box": {
					"id": "obj-22",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						20.0,
						522.0,
						500.0,
						20.0
					],
					"text": "Attributes (these are the defaults)",
					"fontsize": 13,
					"fontface": 1
				}
			},
			{
				"box": {
					"id": "obj-23",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						550.0,
						128.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "apprentissage 1."
				}
			},
			{
				"box": {
					"id": "obj-24",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						550.0,
						560.0,
						40.0
					],
					"text": "weight of the model against each new sequence: 0 replaces it, larger learns slower",
					"linecount": 2
				}
			},
			{
				"box": {
					"id": "obj-25",
					"maxclass": "message",
					"numinlets": 2,
					"numoutlets": 1,
					"patching_rect": [
						30.0,
						580.0,
						65.0,
						22.0
					],
					"outlettype": [
						""
					],
					"text": "lcd 150"
				}
			},
			{
				"box": {
					"id": "obj-26",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						300.0,
						580.0,
						560.0,
						20.0
					],
					"text": "size of the drawing (150 to 400)"
				}
			},
			{
				"box": {
					"id": "obj-27",
					"maxclass": "newobj",
					"numinlets": 1,
					"numoutlets": 4,
					"patching_rect": [
						30.0,
						626.0,
						120.0,
						22.0
					],
					"outlettype": [
						"int",
						"bang",
						"",
						"float"
					],
					"text": "chainlet 4"
				}
			},
			{
				"box": {
					"id": "obj-28",
					"maxclass": "newobj",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						30.0,
						686.0,
						100.0,
						22.0
					],
					"outlettype": [],
					"text": "print symbol"
				}
			},
			{
				"box": {
					"id": "obj-29",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						30.0,
						712.0,
						160.0,
						20.0
					],
					"text": "generated symbols"
				}
			},
			{
				"box": {
					"id": "obj-30",
					"maxclass": "newobj",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						200.0,
						686.0,
						121.0,
						22.0
					],
					"outlettype": [],
					"text": "print untrained"
				}
			},
			{
				"box": {
					"id": "obj-31",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						200.0,
						712.0,
						160.0,
						20.0
					],
					"text": "nothing learned yet"
				}
			},
			{
				"box": {
					"id": "obj-32",
					"maxclass": "newobj",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						370.0,
						686.0,
						93.0,
						22.0
					],
					"outlettype": [],
					"text": "print score"
				}
			},
			{
				"box": {
					"id": "obj-33",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						370.0,
						712.0,
						160.0,
						20.0
					],
					"text": "scores"
				}
			},
			{
				"box": {
					"id": "obj-34",
					"maxclass": "lcd",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						660.0,
						110.0,
						200.0,
						200.0
					]
				}
			},
			{
				"box": {
					"id": "obj-35",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"patching_rect": [
						660.0,
						315.0,
						200.0,
						20.0
					],
					"text": "dump_lcd draws here"
				}
			}
		],
		"lines": [
			{
				"patchline": {
					"source": [
						"obj-4",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-6",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-9",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-11",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-13",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-16",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-18",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-20",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-23",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-25",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-27",
						0
					],
					"destination": [
						"obj-28",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-27",
						1
					],
					"destination": [
						"obj-30",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-27",
						3
					],
					"destination": [
						"obj-32",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-27",
						2
					],
					"destination": [
						"obj-34",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-37",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			},
			{
				"patchline": {
					"source": [
						"obj-39",
						0
					],
					"destination": [
						"obj-27",
						0
					]
				}
			}
		]
	}
}
