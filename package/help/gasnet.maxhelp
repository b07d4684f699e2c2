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
			716.0,
			712.0
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
						75.0,
						30.0
					],
					"text": "gasnet"
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
						377.0,
						21.0
					],
					"text": "Learn the shape of a stream of integer lists with a growing neural gas"
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
						333.0,
						21.0
					],
					"text": "Each tab shows one part of gasnet, with an object of its own."
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
							716.0,
							712.0
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
										75.0,
										30.0
									],
									"text": "gasnet"
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
										377.0,
										21.0
									],
									"text": "Learn the shape of a stream of integer lists with a growing neural gas"
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
										100.0,
										23.0
									],
									"text": "r ---gasnet-basic"
								}
							},
							{
								"box": {
									"id": "obj-8",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 2,
									"outlettype": [
										"list",
										""
									],
									"patching_rect": [
										30.0,
										126.0,
										89.0,
										23.0
									],
									"text": "gasnet 12 127"
								}
							},
							{
								"box": {
									"id": "obj-9",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										135.0,
										126.0,
										412.0,
										21.0
									],
									"text": "arguments: most units (2 to 100, here 12), top of the value range (here 127)"
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
										65.0,
										23.0
									],
									"text": "print units"
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
										83.0,
										21.0
									],
									"text": "units and lists"
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
										30.0,
										251.0,
										43.0,
										21.0
									],
									"text": "Learn"
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
										30.0,
										276.0,
										213.0,
										23.0
									],
									"text": "learn 20 110, learn 98 86, learn 56 14"
								}
							},
							{
								"box": {
									"id": "obj-14",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										276.0,
										369.0,
										21.0
									],
									"text": "teach it points: lists of two numbers here (a new length starts again)"
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
										44.0,
										307.0,
										219.0,
										23.0
									],
									"text": "learn 24 106, learn 100 82, learn 60 12"
								}
							},
							{
								"box": {
									"id": "obj-16",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										307.0,
										215.0,
										21.0
									],
									"text": "more points of the same three clusters"
								}
							},
							{
								"box": {
									"id": "obj-17",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										58.0,
										338.0,
										33.0,
										21.0
									],
									"text": "Ask"
								}
							},
							{
								"box": {
									"id": "obj-18",
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
									"id": "obj-19",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										363.0,
										193.0,
										21.0
									],
									"text": "a random unit, out of the left outlet"
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
										72.0,
										394.0,
										19.0,
										23.0
									],
									"text": "1"
								}
							},
							{
								"box": {
									"id": "obj-21",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										394.0,
										382.0,
										21.0
									],
									"text": "unit 1 (units count from 1, nothing comes for a unit that does not exist)"
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
										86.0,
										425.0,
										77.0,
										23.0
									],
									"text": "list 10 20 30"
								}
							},
							{
								"box": {
									"id": "obj-23",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										425.0,
										408.0,
										21.0
									],
									"text": "pass a list through: elements may be replaced by a unit's values (mutation)"
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
										100.0,
										456.0,
										102.0,
										23.0
									],
									"text": "change 10 20 30"
								}
							},
							{
								"box": {
									"id": "obj-25",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										456.0,
										94.0,
										21.0
									],
									"text": "the same as list"
								}
							},
							{
								"box": {
									"id": "obj-26",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										114.0,
										487.0,
										127.0,
										21.0
									],
									"text": "Keep what it learned"
								}
							},
							{
								"box": {
									"id": "obj-27",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										114.0,
										512.0,
										142.0,
										23.0
									],
									"text": "write gasnet_model.json"
								}
							},
							{
								"box": {
									"id": "obj-28",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										512.0,
										411.0,
										21.0
									],
									"text": "save the whole model to a file in the patch's folder (no name: a save dialog)"
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
										128.0,
										543.0,
										141.0,
										23.0
									],
									"text": "read gasnet_model.json"
								}
							},
							{
								"box": {
									"id": "obj-30",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										543.0,
										335.0,
										21.0
									],
									"text": "load it back, soon after, all at once (no name: an open dialog)"
								}
							},
							{
								"box": {
									"id": "obj-31",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										142.0,
										574.0,
										104.0,
										21.0
									],
									"text": "Show and forget"
								}
							},
							{
								"box": {
									"id": "obj-32",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										142.0,
										599.0,
										72.0,
										23.0
									],
									"text": "dump_max"
								}
							},
							{
								"box": {
									"id": "obj-33",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										599.0,
										185.0,
										21.0
									],
									"text": "print the units to the Max window"
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
										156.0,
										630.0,
										39.0,
										23.0
									],
									"text": "clear"
								}
							},
							{
								"box": {
									"id": "obj-35",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										285.0,
										630.0,
										231.0,
										21.0
									],
									"text": "forget everything: two random units again"
								}
							},
							{
								"box": {
									"id": "obj-36",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										669.0,
										102.0,
										23.0
									],
									"text": "s ---gasnet-basic"
								}
							},
							{
								"box": {
									"id": "obj-37",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										144.0,
										669.0,
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
										"obj-13",
										0
									],
									"destination": [
										"obj-36",
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
										"obj-36",
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
										"obj-36",
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
										"obj-36",
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
										"obj-36",
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
										"obj-36",
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
										"obj-36",
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
										"obj-36",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-32",
										0
									],
									"destination": [
										"obj-36",
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
										"obj-36",
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
					"id": "obj-38",
					"maxclass": "newobj",
					"numinlets": 0,
					"numoutlets": 0,
					"patching_rect": [
						97.0,
						118.0,
						72.0,
						23.0
					],
					"text": "p attributes",
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
							716.0,
							712.0
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
									"id": "obj-39",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontsize": 20.0,
									"fontface": 1,
									"patching_rect": [
										20.0,
										20.0,
										75.0,
										30.0
									],
									"text": "gasnet"
								}
							},
							{
								"box": {
									"id": "obj-40",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										20.0,
										52.0,
										377.0,
										21.0
									],
									"text": "Learn the shape of a stream of integer lists with a growing neural gas"
								}
							},
							{
								"box": {
									"id": "obj-41",
									"maxclass": "newobj",
									"numinlets": 0,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										121.0,
										23.0
									],
									"text": "r ---gasnet-attributes"
								}
							},
							{
								"box": {
									"id": "obj-42",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 2,
									"outlettype": [
										"list",
										""
									],
									"patching_rect": [
										30.0,
										126.0,
										89.0,
										23.0
									],
									"text": "gasnet 12 127"
								}
							},
							{
								"box": {
									"id": "obj-43",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										135.0,
										126.0,
										330.0,
										21.0
									],
									"text": "attributes may be box arguments too: gasnet 12 127 @mu 8"
								}
							},
							{
								"box": {
									"id": "obj-44",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										179.0,
										65.0,
										23.0
									],
									"text": "print units"
								}
							},
							{
								"box": {
									"id": "obj-45",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										30.0,
										206.0,
										83.0,
										21.0
									],
									"text": "units and lists"
								}
							},
							{
								"box": {
									"id": "obj-46",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontface": 1,
									"patching_rect": [
										30.0,
										251.0,
										262.0,
										21.0
									],
									"text": "Attributes (the messages show the defaults)"
								}
							},
							{
								"box": {
									"id": "obj-47",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										276.0,
										39.0,
										23.0
									],
									"text": "mu 5"
								}
							},
							{
								"box": {
									"id": "obj-48",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										276.0,
										226.0,
										21.0
									],
									"text": "age at which a link is removed (1 to 100)"
								}
							},
							{
								"box": {
									"id": "obj-49",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										307.0,
										62.0,
										23.0
									],
									"text": "lambda 2"
								}
							},
							{
								"box": {
									"id": "obj-50",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										307.0,
										265.0,
										21.0
									],
									"text": "learning steps between two new units (1 to 100)"
								}
							},
							{
								"box": {
									"id": "obj-51",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										338.0,
										62.0,
										23.0
									],
									"text": "alpha 0.5"
								}
							},
							{
								"box": {
									"id": "obj-52",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										338.0,
										277.0,
										21.0
									],
									"text": "error kept by the two units a new one sits between"
								}
							},
							{
								"box": {
									"id": "obj-53",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										72.0,
										369.0,
										63.0,
										23.0
									],
									"text": "beta 0.25"
								}
							},
							{
								"box": {
									"id": "obj-54",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										369.0,
										250.0,
										21.0
									],
									"text": "decay of every error and utility at an insertion"
								}
							},
							{
								"box": {
									"id": "obj-55",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										86.0,
										400.0,
										77.0,
										23.0
									],
									"text": "epsilon1 0.3"
								}
							},
							{
								"box": {
									"id": "obj-56",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										400.0,
										291.0,
										21.0
									],
									"text": "how far the nearest unit moves towards a learned list"
								}
							},
							{
								"box": {
									"id": "obj-57",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										100.0,
										431.0,
										84.0,
										23.0
									],
									"text": "epsilon2 0.15"
								}
							},
							{
								"box": {
									"id": "obj-58",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										431.0,
										161.0,
										21.0
									],
									"text": "how far its neighbours move"
								}
							},
							{
								"box": {
									"id": "obj-59",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										114.0,
										462.0,
										59.0,
										23.0
									],
									"text": "kappa 3."
								}
							},
							{
								"box": {
									"id": "obj-60",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										462.0,
										299.0,
										21.0
									],
									"text": "error/utility ratio above which the least useful unit goes"
								}
							},
							{
								"box": {
									"id": "obj-61",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										128.0,
										493.0,
										75.0,
										23.0
									],
									"text": "mutation 50"
								}
							},
							{
								"box": {
									"id": "obj-62",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										493.0,
										313.0,
										21.0
									],
									"text": "chance in percent that list replaces an element (0 to 100)"
								}
							},
							{
								"box": {
									"id": "obj-63",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										142.0,
										524.0,
										72.0,
										23.0
									],
									"text": "dump_max"
								}
							},
							{
								"box": {
									"id": "obj-64",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										236.0,
										524.0,
										281.0,
										21.0
									],
									"text": "print the units and the attributes to the Max window"
								}
							},
							{
								"box": {
									"id": "obj-65",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										563.0,
										123.0,
										23.0
									],
									"text": "s ---gasnet-attributes"
								}
							},
							{
								"box": {
									"id": "obj-66",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										165.0,
										563.0,
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
										"obj-41",
										0
									],
									"destination": [
										"obj-42",
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
										"obj-47",
										0
									],
									"destination": [
										"obj-65",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-49",
										0
									],
									"destination": [
										"obj-65",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-51",
										0
									],
									"destination": [
										"obj-65",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-53",
										0
									],
									"destination": [
										"obj-65",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-55",
										0
									],
									"destination": [
										"obj-65",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-57",
										0
									],
									"destination": [
										"obj-65",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-59",
										0
									],
									"destination": [
										"obj-65",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-61",
										0
									],
									"destination": [
										"obj-65",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-63",
										0
									],
									"destination": [
										"obj-65",
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
					"id": "obj-67",
					"maxclass": "newobj",
					"numinlets": 0,
					"numoutlets": 0,
					"patching_rect": [
						185.0,
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
							716.0,
							712.0
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
									"id": "obj-68",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"fontsize": 20.0,
									"fontface": 1,
									"patching_rect": [
										20.0,
										20.0,
										75.0,
										30.0
									],
									"text": "gasnet"
								}
							},
							{
								"box": {
									"id": "obj-69",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										20.0,
										52.0,
										377.0,
										21.0
									],
									"text": "Learn the shape of a stream of integer lists with a growing neural gas"
								}
							},
							{
								"box": {
									"id": "obj-70",
									"maxclass": "newobj",
									"numinlets": 0,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										87.0,
										114.0,
										23.0
									],
									"text": "r ---gasnet-drawing"
								}
							},
							{
								"box": {
									"id": "obj-71",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 2,
									"outlettype": [
										"list",
										""
									],
									"patching_rect": [
										30.0,
										126.0,
										89.0,
										23.0
									],
									"text": "gasnet 12 127"
								}
							},
							{
								"box": {
									"id": "obj-72",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										179.0,
										65.0,
										23.0
									],
									"text": "print units"
								}
							},
							{
								"box": {
									"id": "obj-73",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										30.0,
										206.0,
										83.0,
										21.0
									],
									"text": "units and lists"
								}
							},
							{
								"box": {
									"id": "obj-74",
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
										137.0,
										179.0,
										200.0,
										200.0
									]
								}
							},
							{
								"box": {
									"id": "obj-75",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										137.0,
										383.0,
										125.0,
										21.0
									],
									"text": "dump_lcd draws here"
								}
							},
							{
								"box": {
									"id": "obj-76",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										30.0,
										428.0,
										300.0,
										37.0
									],
									"text": "learn 20 110, learn 98 86, learn 56 14, learn 24 106, learn 100 82, learn 60 12"
								}
							},
							{
								"box": {
									"id": "obj-77",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										346.0,
										428.0,
										131.0,
										21.0
									],
									"text": "points of three clusters"
								}
							},
							{
								"box": {
									"id": "obj-78",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										44.0,
										473.0,
										51.0,
										23.0
									],
									"text": "lcd 200"
								}
							},
							{
								"box": {
									"id": "obj-79",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										346.0,
										473.0,
										225.0,
										21.0
									],
									"text": "size of the drawing in pixels (100 to 800)"
								}
							},
							{
								"box": {
									"id": "obj-80",
									"maxclass": "message",
									"numinlets": 2,
									"numoutlets": 1,
									"outlettype": [
										""
									],
									"patching_rect": [
										58.0,
										504.0,
										65.0,
										23.0
									],
									"text": "dump_lcd"
								}
							},
							{
								"box": {
									"id": "obj-81",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										346.0,
										504.0,
										298.0,
										21.0
									],
									"text": "draw the units: one column per unit, one cell per value"
								}
							},
							{
								"box": {
									"id": "obj-82",
									"maxclass": "newobj",
									"numinlets": 1,
									"numoutlets": 0,
									"outlettype": [],
									"patching_rect": [
										30.0,
										543.0,
										116.0,
										23.0
									],
									"text": "s ---gasnet-drawing"
								}
							},
							{
								"box": {
									"id": "obj-83",
									"maxclass": "comment",
									"numinlets": 1,
									"numoutlets": 0,
									"patching_rect": [
										158.0,
										543.0,
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
										"obj-70",
										0
									],
									"destination": [
										"obj-71",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-71",
										0
									],
									"destination": [
										"obj-72",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-71",
										1
									],
									"destination": [
										"obj-74",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-76",
										0
									],
									"destination": [
										"obj-82",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-78",
										0
									],
									"destination": [
										"obj-82",
										0
									]
								}
							},
							{
								"patchline": {
									"source": [
										"obj-80",
										0
									],
									"destination": [
										"obj-82",
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
