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
			783.0,
			737.0
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
		"boxanimatetime": 200,
		"enablehscroll": 1,
		"enablevscroll": 1,
		"description": "",
		"digest": "",
		"tags": "",
		"style": "",
		"subpatcher_template": "",
		"boxes": [
			{
				"box": {
					"id": "obj-1",
					"maxclass": "comment",
					"numinlets": 1,
					"numoutlets": 0,
					"fontsize": 20.0,
					"fontface": 1,
					"patching_rect": [
						20.0,
						20.0,
						86.0,
						30.0
					],
					"text": "chainlet"
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
						52.0,
						481.0,
						21.0
					],
					"text": "Learn, generate and score sequences of symbols (0 to 127) with a hidden Markov model"
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
						87.0,
						338.0,
						21.0
					],
					"text": "Each tab shows one part of chainlet, with an object of its own."
				}
			},
			{
				"box": {
					"id": "obj-4",
					"maxclass": "newobj",
					"numinlets": 0,
					"numoutlets": 0,
					"patching_rect": [
						30.0,
						118.0,
						51.0,
						23.0
					],
					"text": "p basic",
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
							783.0,
							737.0
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
						"boxanimatetime": 200,
						"enablehscroll": 1,
						"enablevscroll": 1,
						"description": "",
						"digest": "",
						"tags": "",
						"style": "",
						"subpatcher_template": "",
						"showontab": 1,
						"boxes": [
							{
								"box": {
									"id": "obj-5",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontsize": 20.0,
									"fontface": 1,
									"patching_rect": [
										20.0,
										20.0,
										86.0,
										30.0
									],
									"text": "chainlet"
								}
							},
							{
								"box": {
									"id": "obj-6",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										20.0,
										52.0,
										481.0,
										21.0
									],
									"text": "Learn, generate and score sequences of symbols (0 to 127) with a hidden Markov model"
								}
							},
							{
								"box": {
									"id": "obj-7",
									"maxclass": "newobj",
									"numinlets": 0,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										105.0,
										23.0
									],
									"text": "r ---chainlet-basic"
								}
							},
							{
								"box": {
									"id": "obj-8",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 4,
									"outlettype": [
										"int",
										"bang",
										"",
										"float"
									],
									"patching_rect": [
										30.0,
										126.0,
										64.0,
										23.0
									],
									"text": "chainlet 4"
								}
							},
							{
								"box": {
									"id": "obj-9",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										110.0,
										126.0,
										285.0,
										21.0
									],
									"text": "argument: number of hidden states (2 to 50, here 4)"
								}
							},
							{
								"box": {
									"id": "obj-10",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										179.0,
										77.0,
										23.0
									],
									"text": "print symbol"
								}
							},
							{
								"box": {
									"id": "obj-11",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										30.0,
										206.0,
										112.0,
										21.0
									],
									"text": "generated symbols"
								}
							},
							{
								"box": {
									"id": "obj-12",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										166.0,
										179.0,
										89.0,
										23.0
									],
									"text": "print untrained"
								}
							},
							{
								"box": {
									"id": "obj-13",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										166.0,
										206.0,
										113.0,
										21.0
									],
									"text": "nothing learned yet"
								}
							},
							{
								"box": {
									"id": "obj-14",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										303.0,
										179.0,
										69.0,
										23.0
									],
									"text": "print score"
								}
							},
							{
								"box": {
									"id": "obj-15",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										303.0,
										206.0,
										46.0,
										21.0
									],
									"text": "scores"
								}
							},
							{
								"box": {
									"id": "obj-16",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										30.0,
										251.0,
										247.0,
										21.0
									],
									"text": "Learn: each list trains the model one step"
								}
							},
							{
								"box": {
									"id": "obj-17",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										276.0,
										159.0,
										23.0
									],
									"text": "60 62 64 65 67 65 64 62 60"
								}
							},
							{
								"box": {
									"id": "obj-18",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										276.0,
										117.0,
										21.0
									],
									"text": "a scale-wise phrase"
								}
							},
							{
								"box": {
									"id": "obj-19",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										307.0,
										126.0,
										23.0
									],
									"text": "60 64 67 72 67 64 60"
								}
							},
							{
								"box": {
									"id": "obj-20",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										307.0,
										74.0,
										21.0
									],
									"text": "an arpeggio"
								}
							},
							{
								"box": {
									"id": "obj-21",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										58.0,
										338.0,
										123.0,
										21.0
									],
									"text": "Generate and score"
								}
							},
							{
								"box": {
									"id": "obj-22",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										363.0,
										39.0,
										23.0
									],
									"text": "bang"
								}
							},
							{
								"box": {
									"id": "obj-23",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										363.0,
										487.0,
										21.0
									],
									"text": "one symbol out of the left outlet (a bang from the second outlet until something is learned)"
								}
							},
							{
								"box": {
									"id": "obj-24",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										72.0,
										394.0,
										173.0,
										23.0
									],
									"text": "vraisemblance 60 62 64 65 67"
								}
							},
							{
								"box": {
									"id": "obj-25",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										394.0,
										326.0,
										21.0
									],
									"text": "score a sequence out of the right outlet: lower is more likely"
								}
							},
							{
								"box": {
									"id": "obj-26",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										86.0,
										425.0,
										140.0,
										23.0
									],
									"text": "vraisemblance 61 66 70"
								}
							},
							{
								"box": {
									"id": "obj-27",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										425.0,
										185.0,
										21.0
									],
									"text": "notes it never heard score worse"
								}
							},
							{
								"box": {
									"id": "obj-28",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										100.0,
										456.0,
										127.0,
										21.0
									],
									"text": "Keep what it learned"
								}
							},
							{
								"box": {
									"id": "obj-29",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										100.0,
										481.0,
										147.0,
										23.0
									],
									"text": "write chainlet_model.json"
								}
							},
							{
								"box": {
									"id": "obj-30",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										481.0,
										459.0,
										21.0
									],
									"text": "save the model, its estimates and where generation stands (no name: a save dialog)"
								}
							},
							{
								"box": {
									"id": "obj-31",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										114.0,
										512.0,
										146.0,
										23.0
									],
									"text": "read chainlet_model.json"
								}
							},
							{
								"box": {
									"id": "obj-32",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										512.0,
										335.0,
										21.0
									],
									"text": "load it back, soon after, all at once (no name: an open dialog)"
								}
							},
							{
								"box": {
									"id": "obj-33",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										128.0,
										543.0,
										104.0,
										21.0
									],
									"text": "Show and forget"
								}
							},
							{
								"box": {
									"id": "obj-34",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										128.0,
										568.0,
										72.0,
										23.0
									],
									"text": "dump_max"
								}
							},
							{
								"box": {
									"id": "obj-35",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										568.0,
										325.0,
										21.0
									],
									"text": "print the model to the Max window (once a second at most)"
								}
							},
							{
								"box": {
									"id": "obj-36",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										142.0,
										599.0,
										39.0,
										23.0
									],
									"text": "clear"
								}
							},
							{
								"box": {
									"id": "obj-37",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										599.0,
										179.0,
										21.0
									],
									"text": "a new random model, untrained"
								}
							},
							{
								"box": {
									"id": "obj-38",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										156.0,
										630.0,
										249.0,
										21.0
									],
									"text": "Attribute (the message shows the default)"
								}
							},
							{
								"box": {
									"id": "obj-39",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										156.0,
										655.0,
										101.0,
										23.0
									],
									"text": "apprentissage 1."
								}
							},
							{
								"box": {
									"id": "obj-40",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										276.0,
										655.0,
										449.0,
										21.0
									],
									"text": "weight of the model against each new sequence: 0 replaces it, larger learns slower"
								}
							},
							{
								"box": {
									"id": "obj-41",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										694.0,
										107.0,
										23.0
									],
									"text": "s ---chainlet-basic"
								}
							},
							{
								"box": {
									"id": "obj-42",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										149.0,
										694.0,
										129.0,
										21.0
									],
									"text": "to the object at the top"
								}
							}
						],
						"lines": [
							{
								"patchline": {
									"source": [
										"obj-7",
										0
									],
									"destination": [
										"obj-8",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-8",
										0
									],
									"destination": [
										"obj-10",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-8",
										1
									],
									"destination": [
										"obj-12",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-8",
										3
									],
									"destination": [
										"obj-14",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-17",
										0
									],
									"destination": [
										"obj-41",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-19",
										0
									],
									"destination": [
										"obj-41",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-22",
										0
									],
									"destination": [
										"obj-41",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-24",
										0
									],
									"destination": [
										"obj-41",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-26",
										0
									],
									"destination": [
										"obj-41",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-29",
										0
									],
									"destination": [
										"obj-41",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-31",
										0
									],
									"destination": [
										"obj-41",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-34",
										0
									],
									"destination": [
										"obj-41",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-36",
										0
									],
									"destination": [
										"obj-41",
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
										"obj-41",
										0
									]
								}
							}
						]
					}
				}
			},
			{
				"box": {
					"id": "obj-43",
					"maxclass": "newobj",
					"numinlets": 0,
					"numoutlets": 0,
					"patching_rect": [
						97.0,
						118.0,
						65.0,
						23.0
					],
					"text": "p drawing",
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
							783.0,
							737.0
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
						"boxanimatetime": 200,
						"enablehscroll": 1,
						"enablevscroll": 1,
						"description": "",
						"digest": "",
						"tags": "",
						"style": "",
						"subpatcher_template": "",
						"showontab": 1,
						"boxes": [
							{
								"box": {
									"id": "obj-44",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontsize": 20.0,
									"fontface": 1,
									"patching_rect": [
										20.0,
										20.0,
										86.0,
										30.0
									],
									"text": "chainlet"
								}
							},
							{
								"box": {
									"id": "obj-45",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										20.0,
										52.0,
										481.0,
										21.0
									],
									"text": "Learn, generate and score sequences of symbols (0 to 127) with a hidden Markov model"
								}
							},
							{
								"box": {
									"id": "obj-46",
									"maxclass": "newobj",
									"numinlets": 0,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										119.0,
										23.0
									],
									"text": "r ---chainlet-drawing"
								}
							},
							{
								"box": {
									"id": "obj-47",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 4,
									"outlettype": [
										"int",
										"bang",
										"",
										"float"
									],
									"patching_rect": [
										30.0,
										126.0,
										64.0,
										23.0
									],
									"text": "chainlet 4"
								}
							},
							{
								"box": {
									"id": "obj-48",
									"maxclass": "lcd",
									"numinlets": 1,
									"numoutlets": 4,
									"outlettype": [
										"list",
										"list",
										"int",
										""
									],
									"patching_rect": [
										68.0,
										179.0,
										200.0,
										200.0
									]
								}
							},
							{
								"box": {
									"id": "obj-49",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										68.0,
										383.0,
										125.0,
										21.0
									],
									"text": "dump_lcd draws here"
								}
							},
							{
								"box": {
									"id": "obj-50",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										428.0,
										279.0,
										23.0
									],
									"text": "60 62 64 65 67 65 64 62 60, 60 64 67 72 67 64 60"
								}
							},
							{
								"box": {
									"id": "obj-51",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										325.0,
										428.0,
										207.0,
										21.0
									],
									"text": "a scale-wise phrase and an arpeggio"
								}
							},
							{
								"box": {
									"id": "obj-52",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										459.0,
										51.0,
										23.0
									],
									"text": "lcd 150"
								}
							},
							{
								"box": {
									"id": "obj-53",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										325.0,
										459.0,
										225.0,
										21.0
									],
									"text": "size of the drawing in pixels (150 to 400)"
								}
							},
							{
								"box": {
									"id": "obj-54",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										490.0,
										65.0,
										23.0
									],
									"text": "dump_lcd"
								}
							},
							{
								"box": {
									"id": "obj-55",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										325.0,
										490.0,
										385.0,
										21.0
									],
									"text": "draw the emission matrix: one row per state, darker for likelier symbols"
								}
							},
							{
								"box": {
									"id": "obj-56",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										529.0,
										121.0,
										23.0
									],
									"text": "s ---chainlet-drawing"
								}
							},
							{
								"box": {
									"id": "obj-57",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										163.0,
										529.0,
										129.0,
										21.0
									],
									"text": "to the object at the top"
								}
							}
						],
						"lines": [
							{
								"patchline": {
									"source": [
										"obj-46",
										0
									],
									"destination": [
										"obj-47",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-47",
										2
									],
									"destination": [
										"obj-48",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-50",
										0
									],
									"destination": [
										"obj-56",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-52",
										0
									],
									"destination": [
										"obj-56",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-54",
										0
									],
									"destination": [
										"obj-56",
										0
									]
								}
							}
						]
					}
				}
			}
		],
		"lines": []
	}
}
