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
			768.0,
			568.0
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
							768.0,
							568.0
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
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										30.0,
										87.0,
										247.0,
										21.0
									],
									"text": "Learn: each list trains the model one step"
								}
							},
							{
								"box": {
									"id": "obj-8",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										112.0,
										159.0,
										23.0
									],
									"text": "60 62 64 65 67 65 64 62 60"
								}
							},
							{
								"box": {
									"id": "obj-9",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										261.0,
										112.0,
										117.0,
										21.0
									],
									"text": "a scale-wise phrase"
								}
							},
							{
								"box": {
									"id": "obj-10",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										143.0,
										126.0,
										23.0
									],
									"text": "60 64 67 72 67 64 60"
								}
							},
							{
								"box": {
									"id": "obj-11",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										261.0,
										143.0,
										74.0,
										21.0
									],
									"text": "an arpeggio"
								}
							},
							{
								"box": {
									"id": "obj-12",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										58.0,
										174.0,
										123.0,
										21.0
									],
									"text": "Generate and score"
								}
							},
							{
								"box": {
									"id": "obj-13",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										199.0,
										39.0,
										23.0
									],
									"text": "bang"
								}
							},
							{
								"box": {
									"id": "obj-14",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										261.0,
										199.0,
										487.0,
										21.0
									],
									"text": "one symbol out of the left outlet (a bang from the second outlet until something is learned)"
								}
							},
							{
								"box": {
									"id": "obj-15",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										72.0,
										230.0,
										173.0,
										23.0
									],
									"text": "vraisemblance 60 62 64 65 67"
								}
							},
							{
								"box": {
									"id": "obj-16",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										261.0,
										230.0,
										326.0,
										21.0
									],
									"text": "score a sequence out of the right outlet: lower is more likely"
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
										86.0,
										261.0,
										140.0,
										23.0
									],
									"text": "vraisemblance 61 66 70"
								}
							},
							{
								"box": {
									"id": "obj-18",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										261.0,
										261.0,
										185.0,
										21.0
									],
									"text": "notes it never heard score worse"
								}
							},
							{
								"box": {
									"id": "obj-19",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										100.0,
										292.0,
										104.0,
										21.0
									],
									"text": "Show and forget"
								}
							},
							{
								"box": {
									"id": "obj-20",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										100.0,
										317.0,
										72.0,
										23.0
									],
									"text": "dump_max"
								}
							},
							{
								"box": {
									"id": "obj-21",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										261.0,
										317.0,
										325.0,
										21.0
									],
									"text": "print the model to the Max window (once a second at most)"
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
										114.0,
										348.0,
										39.0,
										23.0
									],
									"text": "clear"
								}
							},
							{
								"box": {
									"id": "obj-23",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										261.0,
										348.0,
										179.0,
										21.0
									],
									"text": "a new random model, untrained"
								}
							},
							{
								"box": {
									"id": "obj-24",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										128.0,
										379.0,
										249.0,
										21.0
									],
									"text": "Attribute (the message shows the default)"
								}
							},
							{
								"box": {
									"id": "obj-25",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										128.0,
										404.0,
										101.0,
										23.0
									],
									"text": "apprentissage 1."
								}
							},
							{
								"box": {
									"id": "obj-26",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										261.0,
										404.0,
										449.0,
										21.0
									],
									"text": "weight of the model against each new sequence: 0 replaces it, larger learns slower"
								}
							},
							{
								"box": {
									"id": "obj-27",
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
										447.0,
										64.0,
										23.0
									],
									"text": "chainlet 4"
								}
							},
							{
								"box": {
									"id": "obj-28",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										110.0,
										447.0,
										285.0,
										21.0
									],
									"text": "argument: number of hidden states (2 to 50, here 4)"
								}
							},
							{
								"box": {
									"id": "obj-29",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										500.0,
										77.0,
										23.0
									],
									"text": "print symbol"
								}
							},
							{
								"box": {
									"id": "obj-30",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										30.0,
										527.0,
										112.0,
										21.0
									],
									"text": "generated symbols"
								}
							},
							{
								"box": {
									"id": "obj-31",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										166.0,
										500.0,
										89.0,
										23.0
									],
									"text": "print untrained"
								}
							},
							{
								"box": {
									"id": "obj-32",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										166.0,
										527.0,
										113.0,
										21.0
									],
									"text": "nothing learned yet"
								}
							},
							{
								"box": {
									"id": "obj-33",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										303.0,
										500.0,
										69.0,
										23.0
									],
									"text": "print score"
								}
							},
							{
								"box": {
									"id": "obj-34",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										303.0,
										527.0,
										46.0,
										21.0
									],
									"text": "scores"
								}
							}
						],
						"lines": [
							{
								"patchline": {
									"source": [
										"obj-8",
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
										"obj-10",
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
										"obj-15",
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
										"obj-17",
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
										"obj-22",
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
										"obj-29",
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
										"obj-31",
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
										"obj-33",
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
					"id": "obj-35",
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
							768.0,
							568.0
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
									"id": "obj-36",
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
									"id": "obj-37",
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
									"id": "obj-38",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										279.0,
										23.0
									],
									"text": "60 62 64 65 67 65 64 62 60, 60 64 67 72 67 64 60"
								}
							},
							{
								"box": {
									"id": "obj-39",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										325.0,
										87.0,
										207.0,
										21.0
									],
									"text": "a scale-wise phrase and an arpeggio"
								}
							},
							{
								"box": {
									"id": "obj-40",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										118.0,
										51.0,
										23.0
									],
									"text": "lcd 150"
								}
							},
							{
								"box": {
									"id": "obj-41",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										325.0,
										118.0,
										225.0,
										21.0
									],
									"text": "size of the drawing in pixels (150 to 400)"
								}
							},
							{
								"box": {
									"id": "obj-42",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										149.0,
										65.0,
										23.0
									],
									"text": "dump_lcd"
								}
							},
							{
								"box": {
									"id": "obj-43",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										325.0,
										149.0,
										385.0,
										21.0
									],
									"text": "draw the emission matrix: one row per state, darker for likelier symbols"
								}
							},
							{
								"box": {
									"id": "obj-44",
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
										192.0,
										64.0,
										23.0
									],
									"text": "chainlet 4"
								}
							},
							{
								"box": {
									"id": "obj-45",
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
										245.0,
										200.0,
										200.0
									]
								}
							},
							{
								"box": {
									"id": "obj-46",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										68.0,
										449.0,
										125.0,
										21.0
									],
									"text": "dump_lcd draws here"
								}
							}
						],
						"lines": [
							{
								"patchline": {
									"source": [
										"obj-38",
										0
									],
									"destination": [
										"obj-44",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-40",
										0
									],
									"destination": [
										"obj-44",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-42",
										0
									],
									"destination": [
										"obj-44",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-44",
										2
									],
									"destination": [
										"obj-45",
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
